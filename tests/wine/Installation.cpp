#include "tests/wine/Installation.h"

#include "tests/wine/FileFixture.h"
#include "tests/wine/RegistryFixture.h"

namespace fixture {

ShellPaths RunningFamilysPaths() {
  if (IsNtFamily()) {
    return {"C:\\Documents and Settings\\All Users\\Desktop\\Quorvane.lnk",
            "C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Quorvane"};
  }
  return {"C:\\Windows\\Desktop\\Quorvane.lnk", "C:\\Windows\\Start Menu\\Programs\\Quorvane"};
}

ShellPaths ReportedShellPaths() {
  using Ask = BOOL(WINAPI*)(HWND, LPSTR, int, BOOL);
  const auto ask = reinterpret_cast<Ask>(
      reinterpret_cast<void (*)()>(::GetProcAddress(::LoadLibraryA("shell32.dll"), "SHGetSpecialFolderPathA")));
  const auto folder = [ask](int csidl) {
    char path[MAX_PATH + 1] = {};
    return ask != nullptr && ask(nullptr, path, csidl, FALSE) ? std::string(path) : std::string();
  };
  const bool nt = IsNtFamily();
  const std::string desktop = folder(nt ? 0x19 : 0x10);   // common or user desktop
  const std::string programs = folder(nt ? 0x17 : 0x02);  // common or user Start-menu programs
  if (desktop.empty() || programs.empty()) return {};
  return {desktop + "\\Quorvane.lnk", programs + "\\Quorvane"};
}

void LayOutInstallation() {
  RemoveInstallation();
  const ShellPaths paths = RunningFamilysPaths();
  MakeFile(paths.shortcut);
  MakeFile(paths.group + "\\Quorvane.lnk");
  MakeFile(paths.group + "\\Read Me.lnk", /*readOnly=*/true);
  MakeFile(std::string(kInstallFolder) + "\\Quorvane.exe", true);
  MakeFile(std::string(kInstallFolder) + "\\Data\\Templates\\default.qvt");
  CreateKey(kUninstallKey);
  for (const char* subkey : kNamedSubkeys) CreateKey(std::string(kSettingsKey) + "\\" + subkey);
  SetString(std::string(kSettingsKey) + "\\StartUp", "twEXE", std::string(kInstallFolder) + "\\");
  CreateKey(kOtherProductKey);
}

void RemoveInstallation() {
  const ShellPaths paths = RunningFamilysPaths();
  RemoveTree(paths.shortcut);
  RemoveTree(paths.group);
  RemoveTree(kInstallFolder);
  const ShellPaths reported = ReportedShellPaths();
  if (!reported.shortcut.empty()) {
    RemoveTree(reported.shortcut);
    RemoveTree(reported.group);
  }
  DeleteTree(kVendorKey);
  DeleteTree(kUninstallKey);
}

void ForgetWhatIsLeftForTheRestart() {
  RemoveTree("C:\\Program Files\\QvnRemove.pending");
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Session Manager", 0, KEY_SET_VALUE,
                      &key) == ERROR_SUCCESS) {
    ::RegDeleteValueA(key, "PendingFileRenameOperations");
    ::RegCloseKey(key);
  }
  ::DeleteFileA("C:\\windows\\WININIT.INI");
}

bool AnyFileLeft() {
  const ShellPaths paths = RunningFamilysPaths();
  return PathExists(paths.shortcut) || PathExists(paths.group) || PathExists(kInstallFolder);
}

bool AllFilesPresent() {
  const ShellPaths paths = RunningFamilysPaths();
  return PathExists(paths.shortcut) && PathExists(paths.group) &&
         PathExists(std::string(kInstallFolder) + "\\Data\\Templates\\default.qvt");
}

bool AnyRegistryKeyLeft() {
  if (KeyExists(kUninstallKey) || KeyExists(kSettingsKey)) return true;
  for (const char* subkey : kNamedSubkeys) {
    if (KeyExists(std::string(kSettingsKey) + "\\" + subkey)) return true;
  }
  return false;
}

bool AllRegistryKeysPresent() {
  if (!KeyExists(kUninstallKey)) return false;
  for (const char* subkey : kNamedSubkeys) {
    if (!KeyExists(std::string(kSettingsKey) + "\\" + subkey)) return false;
  }
  return true;
}

}  // namespace fixture
