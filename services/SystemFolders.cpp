#include "services/SystemFolders.h"

#include <vector>

#include "services/FolderAbove.h"
#include "services/FolderIdentity.h"
#include "services/PlatformApi.h"
#include "services/ReadRegValue.h"
#include "services/RegKey.h"
#include "services/RegistryText.h"
#include "services/ShellFolders.h"
#include "services/Text.h"

namespace qvn {
namespace {

constexpr DWORD kPathRoom = 1024;

const wchar_t kCurrentVersion[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

// Calls a "fill this buffer" function of the platform; empty when it fails or
// the answer does not fit.
template <typename Fill>
std::wstring Filled(Fill fill) {
  std::vector<char> buffer(kPathRoom, '\0');
  const DWORD length = fill(buffer.data(), kPathRoom);
  if (length == 0 || length >= kPathRoom) return {};
  return FromAnsi(std::string(buffer.data(), length));
}

void AddIfReported(std::vector<std::wstring>& folders, const std::wstring& folder) {
  if (!folder.empty()) folders.push_back(folder);
}

// The folder that holds the profiles: the one above a profile, unless that is
// the drive itself, which holds everything.
std::wstring ProfilesFolder(const std::wstring& profile) {
  const std::wstring holder = FolderAbove(profile);
  return holder.size() > 2 ? holder : std::wstring();
}

std::wstring EnvironmentValue(const char* name) {
  return Filled([name](char* buffer, DWORD room) { return api::GetEnvironmentVariableA(name, buffer, room); });
}

// The text of `valueName` in the 64-bit view of the system's CurrentVersion
// key, which a 32-bit program on 64-bit Windows otherwise never sees. The key
// is only read. A 32-bit Windows ignores the view flag and answers from its
// one view; a system older than the flag may refuse the open, which reports
// nothing.
std::wstring ReadCurrentVersionIn64BitView(const wchar_t* valueName) {
  RegKey key;
  api::RegOpenKeyExA(HKEY_LOCAL_MACHINE, ToAnsi(kCurrentVersion).c_str(), 0, KEY_READ | KEY_WOW64_64KEY,
                     key.Receive());
  const RegValue value = QueryValue(key.Get(), valueName);
  const auto* text = std::get_if<std::wstring>(&value);
  return text != nullptr ? *text : std::wstring();
}

}  // namespace

std::wstring FullPathOf(const std::wstring& path) {
  const std::string narrow = ToAnsi(path);
  return Filled([&](char* buffer, DWORD room) {
    return api::GetFullPathNameA(narrow.c_str(), room, buffer, nullptr);
  });
}

std::wstring ShortPathOf(const std::wstring& path) {
  if (IsOnServer(path)) return {};  // never asked of a server, which may be away
  const std::string narrow = ToAnsi(path);
  return Filled([&](char* buffer, DWORD room) { return api::GetShortPathNameA(narrow.c_str(), buffer, room); });
}

std::wstring WindowsFolder() {
  return Filled([](char* buffer, DWORD room) { return static_cast<DWORD>(api::GetWindowsDirectoryA(buffer, room)); });
}

ReportedFolders ReportedSystemFolders() {
  ReportedFolders folders;
  std::vector<std::wstring>& system = folders.system;
  AddIfReported(system, WindowsFolder());
  AddIfReported(system, Filled([](char* buffer, DWORD room) {
                  return static_cast<DWORD>(api::GetSystemDirectoryA(buffer, room));
                }));
  AddIfReported(system, ReadTextValue(HKEY_LOCAL_MACHINE, kCurrentVersion, L"CommonFilesDir"));
  for (const char* name : {"USERPROFILE", "ALLUSERSPROFILE"}) {
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
  AddIfReported(folders.programFiles, EnvironmentValue("ProgramW6432"));
  AddIfReported(system, EnvironmentValue("CommonProgramW6432"));
  return folders;
}

}  // namespace qvn
