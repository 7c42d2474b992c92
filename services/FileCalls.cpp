#include "services/FileCalls.h"

#include "services/Concat.h"
#include "services/KernelHandle.h"
#include "services/LastError.h"
#include "services/PlatformApi.h"
#include "services/Text.h"
#include "services/UniqueHandle.h"

namespace qvn {
namespace {

struct CloseSearch {
  void operator()(HANDLE search) const { api::FindClose(search); }
};
using Search = UniqueHandle<HANDLE, CloseSearch>;

// The platform marks a failed open or search with INVALID_HANDLE_VALUE, not
// null; only a real handle is given to an owner.
HANDLE Valid(HANDLE handle) { return handle == INVALID_HANDLE_VALUE ? nullptr : handle; }

bool IsDotEntry(const std::wstring& name) { return name == L"." || name == L".."; }

template <typename FindData, typename FindFirst, typename FindNext>
DWORD ListWith(const std::wstring& folder, const FileCalls::EachEntry& each, FindFirst findFirst, FindNext findNext,
               std::wstring (*nameOf)(const FindData&)) {
  const LastError lastError;
  FindData found{};
  const Search search(Valid(findFirst(Concat({folder, L"\\*"}), &found)));
  if (!search) return lastError();
  do {
    const std::wstring name = nameOf(found);
    if (!IsDotEntry(name) && !each(name, found.dwFileAttributes)) return ERROR_NO_MORE_FILES;
  } while (findNext(search.Get(), &found));
  return lastError();
}

std::wstring WideName(const WIN32_FIND_DATAW& found) { return found.cFileName; }
std::wstring AnsiName(const WIN32_FIND_DATAA& found) { return FromAnsi(found.cFileName); }

}  // namespace

DWORD FileCalls::Attributes(const std::wstring& path) const {
  return wide_ ? api::GetFileAttributesW(path.c_str()) : api::GetFileAttributesA(ToAnsi(path).c_str());
}

DWORD FileCalls::OpenError(const std::wstring& path, DWORD access, DWORD sharing, DWORD flags) const {
  const LastError lastError;
  const HANDLE opened =
      wide_ ? api::CreateFileW(path.c_str(), access, sharing, nullptr, OPEN_EXISTING, flags, nullptr)
            : api::CreateFileA(ToAnsi(path).c_str(), access, sharing, nullptr, OPEN_EXISTING, flags, nullptr);
  const KernelHandle handle(Valid(opened));
  return handle ? ERROR_SUCCESS : lastError();
}

DWORD FileCalls::RemoveFolder(const std::wstring& path) const {
  const LastError lastError;
  const BOOL removed = wide_ ? api::RemoveDirectoryW(path.c_str()) : api::RemoveDirectoryA(ToAnsi(path).c_str());
  return removed ? ERROR_SUCCESS : lastError();
}

DWORD FileCalls::List(const std::wstring& folder, const EachEntry& each) const {
  if (wide_) {
    return ListWith<WIN32_FIND_DATAW>(
        folder, each, [](const std::wstring& pattern, WIN32_FIND_DATAW* found) {
          return api::FindFirstFileW(pattern.c_str(), found);
        },
        [](HANDLE search, WIN32_FIND_DATAW* found) { return api::FindNextFileW(search, found); }, &WideName);
  }
  return ListWith<WIN32_FIND_DATAA>(
      folder, each, [](const std::wstring& pattern, WIN32_FIND_DATAA* found) {
        return api::FindFirstFileA(ToAnsi(pattern).c_str(), found);
      },
      [](HANDLE search, WIN32_FIND_DATAA* found) { return api::FindNextFileA(search, found); }, &AnsiName);
}

}  // namespace qvn
