#include "services/SystemFolders.h"

#include <vector>

#include "services/PlatformApi.h"
#include "services/ReadRegValue.h"
#include "services/Text.h"

namespace qvn {
namespace {

constexpr DWORD kPathRoom = 1024;

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

std::vector<std::wstring> ReportedSystemFolders() {
  std::vector<std::wstring> folders;
  AddIfReported(folders, Filled([](char* buffer, DWORD room) {
                  return static_cast<DWORD>(api::GetWindowsDirectoryA(buffer, room));
                }));
  AddIfReported(folders, Filled([](char* buffer, DWORD room) {
                  return static_cast<DWORD>(api::GetSystemDirectoryA(buffer, room));
                }));
  for (const wchar_t* name : {L"ProgramFilesDir", L"CommonFilesDir"}) {
    AddIfReported(folders, ToText(ReadRegValue(L"SOFTWARE\\Microsoft\\Windows", L"CurrentVersion", name)));
  }
  AddIfReported(folders, Filled([](char* buffer, DWORD room) {
                  return api::GetEnvironmentVariableA("USERPROFILE", buffer, room);
                }));
  return folders;
}

}  // namespace qvn
