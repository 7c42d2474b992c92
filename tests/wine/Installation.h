#pragma once
#include <string>

// Quorvane as its installer leaves it on the running Windows family, beside
// another product of the same vendor that the removal must leave alone.
namespace fixture {

inline const char kVendorKey[] = "SOFTWARE\\TindlewaySystems";
inline const char kSettingsKey[] = "SOFTWARE\\TindlewaySystems\\Quorvane";
inline const char kOtherProductKey[] = "SOFTWARE\\TindlewaySystems\\OtherProduct";
inline const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorvane";
inline const char kInstallFolder[] = "C:\\Program Files\\Quorvane";
inline const char* const kNamedSubkeys[] = {"StartUp", "printOptions", "columnNames", "1.2"};

struct ShellPaths {
  std::string shortcut;
  std::string group;
};
ShellPaths RunningFamilysPaths();
// Where the running system's shell keeps them: the all-users folders on the
// NT family, the user's on 95/98/ME; empty when the shell does not say.
ShellPaths ReportedShellPaths();

void LayOutInstallation();
void RemoveInstallation();
// Clears what a run left for the restart: the moved-aside folder, the
// system's list of deletions at restart and WININIT.INI, so that no later
// restart of Wine deletes anything of another test's.
void ForgetWhatIsLeftForTheRestart();

bool AnyFileLeft();          // shortcut, program group or install folder
bool AllFilesPresent();
bool AnyRegistryKeyLeft();   // uninstall entry, settings key or its named subkeys
bool AllRegistryKeysPresent();

}  // namespace fixture
