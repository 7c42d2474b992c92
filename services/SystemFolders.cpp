#include "services/SystemFolders.h"

#include <vector>

#include "services/FolderAbove.h"
#include "services/FolderIdentity.h"
#include "services/PlatformApi.h"
#include "services/ReadRegValue.h"
#include "services/RegKey.h"
#include "services/RegistryText.h"
#include "services/ShellFolders.h"
#include "services/SystemText.h"
#include "services/Text.h"

namespace qvn {
namespace {

const wchar_t kCurrentVersion[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

void AddIfReported(std::vector<std::wstring>& folders, const std::wstring& folder) {
  if (!folder.empty()) folders.push_back(folder);
}

// The folder that holds the profiles: the one above a profile, unless that is
// the drive itself, which holds everything.
std::wstring ProfilesFolder(const std::wstring& profile) {
  const std::wstring holder = FolderAbove(profile);
  return holder.size() > 2 ? holder : std::wstring();
}

std::wstring EnvironmentValue(const wchar_t* name) {
  return FilledText(
      [name](wchar_t* buffer, DWORD room) { return api::GetEnvironmentVariableW(name, buffer, room); },
      [name](char* buffer, DWORD room) { return api::GetEnvironmentVariableA(ToAnsi(name).c_str(), buffer, room); });
}

// The text of `valueName` in the 64-bit view of the system's CurrentVersion
// key, which a 32-bit program on 64-bit Windows otherwise never sees. The key
// is only read. A 32-bit Windows ignores the view flag and answers from its
// one view; a system older than the flag may refuse the open, which reports
// nothing.
std::wstring ReadCurrentVersionIn64BitView(const wchar_t* valueName) {
  const RegKey key = OpenKeyForReading(HKEY_LOCAL_MACHINE, kCurrentVersion, KEY_WOW64_64KEY);
  const RegValue value = QueryValue(key.Get(), valueName);
  const auto* text = std::get_if<std::wstring>(&value);
  return text != nullptr ? *text : std::wstring();
}

}  // namespace

std::wstring WindowsFolder() {
  return FilledText([](wchar_t* buffer, DWORD room) { return api::GetWindowsDirectoryW(buffer, room); },
                    [](char* buffer, DWORD room) { return api::GetWindowsDirectoryA(buffer, room); });
}

std::wstring FullPathOf(const std::wstring& path) {
  return FilledText(
      [&](wchar_t* buffer, DWORD room) { return api::GetFullPathNameW(path.c_str(), room, buffer, nullptr); },
      [&](char* buffer, DWORD room) { return api::GetFullPathNameA(ToAnsi(path).c_str(), room, buffer, nullptr); });
}

std::wstring ShortPathOf(const std::wstring& path) {
  if (IsOnServer(path)) return {};  // never asked of a server, which may be away
  return FilledText(
      [&](wchar_t* buffer, DWORD room) { return api::GetShortPathNameW(path.c_str(), buffer, room); },
      [&](char* buffer, DWORD room) { return api::GetShortPathNameA(ToAnsi(path).c_str(), buffer, room); });
}

ReportedFolders ReportedSystemFolders() {
  ReportedFolders folders;
  std::vector<std::wstring>& system = folders.system;
  AddIfReported(system, WindowsFolder());
  AddIfReported(system, FilledText([](wchar_t* buffer, DWORD room) { return api::GetSystemDirectoryW(buffer, room); },
                                   [](char* buffer, DWORD room) { return api::GetSystemDirectoryA(buffer, room); }));
  AddIfReported(system, ReadTextValue(HKEY_LOCAL_MACHINE, kCurrentVersion, L"CommonFilesDir"));
  for (const wchar_t* name : {L"USERPROFILE", L"ALLUSERSPROFILE"}) {
    const std::wstring profile = EnvironmentValue(name);
    AddIfReported(system, profile);
    AddIfReported(system, ProfilesFolder(profile));
  }
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    for (std::wstring& folder : ReadTextValues(root, kShellFoldersKey)) AddIfReported(system, folder);
  }
  AddIfReported(folders.programFiles, ReadTextValue(HKEY_LOCAL_MACHINE, kCurrentVersion, L"ProgramFilesDir"));
  // On 64-bit Windows the folder above is the 32-bit one, "Program Files
  // (x86)"; the 64-bit Program Files and its Common Files are named in the
  // 64-bit view, and from Windows 7 on also in the environment.
  AddIfReported(folders.programFiles, ReadCurrentVersionIn64BitView(L"ProgramFilesDir"));
  AddIfReported(system, ReadCurrentVersionIn64BitView(L"CommonFilesDir"));
  AddIfReported(folders.programFiles, EnvironmentValue(L"ProgramW6432"));
  AddIfReported(system, EnvironmentValue(L"CommonProgramW6432"));
  return folders;
}

}  // namespace qvn
