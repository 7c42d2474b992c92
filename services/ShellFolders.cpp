#include "services/ShellFolders.h"

#include "services/Failure.h"
#include "services/PlatformApi.h"
#include "services/RegistryText.h"
#include "services/Text.h"

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

std::wstring AskTheShell(int csidl) {
  api::SHGetSpecialFolderPathAFn ask = nullptr;
  try {
    ask = api::SHGetSpecialFolderPathA.Resolve();
  } catch (const Failure&) {
    return {};  // no such function on this system
  }
  char path[MAX_PATH + 1] = {};
  if (!ask(nullptr, path, csidl, 0)) return {};  // do not create it
  return FromAnsi(path);
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
