#include "services/FilesInUse.h"

#include <cstring>

#include "services/PlatformApi.h"
#include "services/Text.h"
#include "services/KernelHandle.h"
#include "services/UniqueHandle.h"

namespace qvn {
namespace {

struct CloseSearch {
  void operator()(HANDLE search) const { api::FindClose(search); }
};

// The platform marks a failed open or search with INVALID_HANDLE_VALUE, not
// null; only a real handle is given to an owner.
HANDLE Valid(HANDLE handle) { return handle == INVALID_HANDLE_VALUE ? nullptr : handle; }

bool IsInUse(const std::string& path) {
  // Bound before the open, so that binding cannot change the error it reads.
  const auto lastError = api::GetLastError.Resolve();
  KernelHandle file(
      Valid(api::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
  if (file) return false;
  const DWORD error = lastError();
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

bool IsDotEntry(const char* name) { return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0; }

std::optional<std::string> FirstInUseIn(const std::string& folder) {
  WIN32_FIND_DATAA found{};
  UniqueHandle<HANDLE, CloseSearch> search(Valid(api::FindFirstFileA((folder + "\\*").c_str(), &found)));
  if (!search) return std::nullopt;
  do {
    if (IsDotEntry(found.cFileName)) continue;
    const std::string path = folder + "\\" + found.cFileName;
    const DWORD attributes = found.dwFileAttributes;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      if (IsInUse(path)) return path;
    } else if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
      if (auto inUse = FirstInUseIn(path)) return inUse;
    }
  } while (api::FindNextFileA(search.Get(), &found));
  return std::nullopt;
}

}  // namespace

std::optional<std::wstring> FirstFileInUse(const std::vector<RemovalTarget>& targets) {
  for (const RemovalTarget& target : targets) {
    const std::string path = ToAnsi(target.path);
    if (!target.isFolder) {
      if (IsInUse(path)) return target.path;
    } else if (auto inUse = FirstInUseIn(path)) {
      return FromAnsi(*inUse);
    }
  }
  return std::nullopt;
}

}  // namespace qvn
