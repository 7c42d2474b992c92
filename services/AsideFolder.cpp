#include "services/AsideFolder.h"

#include "services/Concat.h"
#include "services/FolderAbove.h"
#include "services/DecimalText.h"
#include "services/LastError.h"
#include "services/PlatformApi.h"

namespace qvn {
namespace {

// Enough for every run a user might make before restarting; past it the
// folder above is taken to be unusable.
constexpr unsigned kMostNamesTried = 1000;

const wchar_t kAsideName[] = L"QvnRemove.pending";

std::wstring AsideName(unsigned number) {
  return number == 1 ? kAsideName : Concat({kAsideName, L".", DecimalText(static_cast<std::int32_t>(number))});
}

}  // namespace

AsideFolder MakeFolderBeside(const std::wstring& folder) {
  const std::wstring parent = FolderAbove(folder);
  if (parent.empty()) return {L"", static_cast<DWORD>(ERROR_BAD_PATHNAME)};
  const LastError lastError;
  for (unsigned number = 1; number <= kMostNamesTried; ++number) {
    const std::wstring path = Concat({parent, L"\\", AsideName(number)});
    if (api::CreateDirectoryW(path.c_str(), nullptr)) return {path, ERROR_SUCCESS};
    const DWORD error = lastError();
    if (error != static_cast<DWORD>(ERROR_ALREADY_EXISTS)) return {L"", error};
  }
  return {L"", static_cast<DWORD>(ERROR_ALREADY_EXISTS)};
}

DWORD MoveEntry(const std::wstring& from, const std::wstring& to) {
  const LastError lastError;
  // No MOVEFILE_COPY_ALLOWED: that is what MoveFileW adds, and with it a file
  // bound for another volume is copied, then its deletion fails for being in use.
  return api::MoveFileExW(from.c_str(), to.c_str(), 0) ? ERROR_SUCCESS : lastError();
}

}  // namespace qvn
