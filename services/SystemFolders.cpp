#include "services/SystemFolders.h"

#include <vector>

#include "services/PlatformApi.h"
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

// The folder above `path` (C:\A\B gives C:\A); empty for a drive root or a
// path without a folder above it.
std::wstring ParentOf(std::wstring path) {
  while (!path.empty() && path.back() == L'\\') path.pop_back();
  const std::size_t separator = path.rfind(L'\\');
  if (separator == std::wstring::npos || separator < 3) return {};
  return path.substr(0, separator);
}

}  // namespace

std::wstring FullPathOf(const std::wstring& path) {
  const std::string narrow = ToAnsi(path);
  return Filled([&](char* buffer, DWORD room) {
    return api::GetFullPathNameA(narrow.c_str(), room, buffer, nullptr);
  });
}

std::wstring ShortPathOf(const std::wstring& path) {
  const std::string narrow = ToAnsi(path);
  return Filled([&](char* buffer, DWORD room) { return api::GetShortPathNameA(narrow.c_str(), buffer, room); });
}

ReportedFolders ReportedSystemFolders() {
  ReportedFolders folders;
  std::vector<std::wstring>& system = folders.system;
  AddIfReported(system, Filled([](char* buffer, DWORD room) {
                  return static_cast<DWORD>(api::GetWindowsDirectoryA(buffer, room));
                }));
  AddIfReported(system, Filled([](char* buffer, DWORD room) {
                  return static_cast<DWORD>(api::GetSystemDirectoryA(buffer, room));
                }));
  AddIfReported(system, ReadTextValue(HKEY_LOCAL_MACHINE, kCurrentVersion, L"CommonFilesDir"));
  for (const char* name : {"USERPROFILE", "ALLUSERSPROFILE"}) {
    const std::wstring profile = Filled([name](char* buffer, DWORD room) {
      return api::GetEnvironmentVariableA(name, buffer, room);
    });
    AddIfReported(system, profile);
    AddIfReported(system, ParentOf(profile));  // the folder that holds the profiles
  }
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    for (std::wstring& folder : ReadTextValues(root, kShellFoldersKey)) AddIfReported(system, folder);
  }
  AddIfReported(folders.programFiles, ReadTextValue(HKEY_LOCAL_MACHINE, kCurrentVersion, L"ProgramFilesDir"));
  return folders;
}

}  // namespace qvn
