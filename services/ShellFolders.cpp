#include "services/ShellFolders.h"

#include <string>

#include "services/Failure.h"
#include "services/PlatformApi.h"
#include "services/RegistryText.h"
#include "services/SystemText.h"

namespace qvn {
namespace {

struct Source {
  int csidl;                // the shell's number for the folder
  bool allUsers;            // recorded below HKEY_LOCAL_MACHINE, else HKEY_CURRENT_USER
  const wchar_t* valueName;
};

Source SourceOf(ShellFolder folder) {
  switch (folder) {
    case ShellFolder::CommonDesktop:
      return {0x0019, true, L"Common Desktop"};
    case ShellFolder::CommonPrograms:
      return {0x0017, true, L"Common Programs"};
    case ShellFolder::UserDesktop:
      return {0x0010, false, L"Desktop"};
    case ShellFolder::UserPrograms:
      break;
  }
  return {0x0002, false, L"Programs"};
}

// The length of the path the shell wrote, or 0 when it has none.
template <typename Char>
DWORD AnsweredLength(BOOL answered, const Char* path) {
  return answered ? static_cast<DWORD>(std::char_traits<Char>::length(path)) : 0;
}

std::wstring AskTheShell(int csidl) {
  try {
    // The shell writes up to MAX_PATH characters, within FilledText's room.
    return FilledText(
        [csidl](wchar_t* path, DWORD) {
          return AnsweredLength(api::SHGetSpecialFolderPathW(nullptr, path, csidl, 0), path);  // do not create it
        },
        [csidl](char* path, DWORD) {
          return AnsweredLength(api::SHGetSpecialFolderPathA(nullptr, path, csidl, 0), path);
        });
  } catch (const Failure&) {
    return {};  // no such function on this system
  }
}

}  // namespace

std::wstring ReportedShellFolder(ShellFolder folder) {
  const Source source = SourceOf(folder);
  try {
    std::wstring path = AskTheShell(source.csidl);
    if (path.empty()) {
      path = ReadTextValue(source.allUsers ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, kShellFoldersKey, source.valueName);
    }
    return path;
  } catch (const Failure&) {
    return {};  // the registry cannot be read either: only the fixed paths count
  }
}

}  // namespace qvn
