#pragma once
#include <memory>
#include <string>

#include "services/AutomationObject.h"
#include "services/PlatformTypes.h"

namespace qvn {

// Quorvane's settings key below HKEY_LOCAL_MACHINE: where start-up reads the
// install folder and what the removal deletes last.
inline const wchar_t kSettingsKey[] = L"SOFTWARE\\TindlewaySystems\\Quorvane";

// Everything the tool knows about the machine: filled once at start-up, read by
// the removal. The file-system object is the only part released before the end.
struct ToolState {
  std::unique_ptr<AutomationObject> FileSys;  // 95/98/ME only
  std::wstring ProductKey;
  OSVERSIONINFOA VersionInfo{};
  std::wstring DesktopShortcut;
  std::wstring ProgramGroup;
  // The shortcut and group in the folders the running system reports for
  // them, where those differ from the fixed paths above (another language,
  // another drive); empty otherwise. The removal deletes both places. Asked
  // when the first removal is planned, not at start-up.
  std::wstring ReportedDesktopShortcut;
  std::wstring ReportedProgramGroup;
  bool ShellFoldersAsked = false;
  std::wstring InstallLocation;
};

// The program-wide record.
ToolState& ProgramToolState();

}  // namespace qvn
