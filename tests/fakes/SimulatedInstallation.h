#pragma once
#include <string>
#include <vector>

#include "tests/fakes/SimulatedPlatform.h"

// Quorvane as its installer leaves it on a simulated XP machine, with the
// names the removal tests share.
namespace installed {

inline const std::string kVendor = "SOFTWARE\\TindlewaySystems";
inline const std::string kSettings = "SOFTWARE\\TindlewaySystems\\Quorvane";
inline const std::string kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorvane";
inline const wchar_t kShortcut[] = L"C:\\Documents and Settings\\All Users\\Desktop\\Quorvane.lnk";
inline const wchar_t kGroup[] = L"C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Quorvane";
inline const wchar_t kInstall[] = L"C:\\Program Files\\Quorvane";
inline const std::wstring kGroupFile = std::wstring(kGroup) + L"\\Quorvane.lnk";
inline const std::wstring kProgram = std::wstring(kInstall) + L"\\Quorvane.exe";  // read-only
inline const std::wstring kData = std::wstring(kInstall) + L"\\Data";
inline const std::wstring kPrefs = kData + L"\\prefs.dat";
inline const std::wstring kAside = L"C:\\Program Files\\QvnRemove.pending";

// The shortcut, the group with its shortcut, the install folder with the
// program and Data\prefs.dat, the uninstall entry and the settings key with
// its four subkeys, plus a product of the same vendor that must survive. The
// install folder's files lie in `files`, where the install folder is a link
// to another folder.
void LayOut(SimulatedPlatform& platform, const std::wstring& files = kInstall);

// Whether the platform saw any file, folder or key removed: by the
// scripting object, by a handle's delete mark, or from the registry.
bool AnythingRemoved(const std::vector<std::wstring>& calls);

std::string Narrow(const std::wstring& text);

}  // namespace installed
