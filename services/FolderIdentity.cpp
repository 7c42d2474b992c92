#include "services/FolderIdentity.h"

#include "services/Failure.h"
#include "services/KernelHandle.h"
#include "services/PlatformApi.h"
#include "services/Text.h"

namespace qvn {

std::optional<FolderIdentity> IdentityOf(const std::wstring& path) {
  HANDLE opened = api::CreateFileA(ToAnsi(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (opened == INVALID_HANDLE_VALUE) return std::nullopt;
  const KernelHandle folder(opened);
  BY_HANDLE_FILE_INFORMATION information{};
  if (!api::GetFileInformationByHandle(folder.Get(), &information)) return std::nullopt;
  if ((information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return std::nullopt;
  return FolderIdentity{information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow};
}

bool IsOnNetworkDrive(const std::wstring& path) {
  if (path.size() < 2 || path[1] != L':') return false;
  const std::string root = ToAnsi(path.substr(0, 2)) + "\\";
  return api::GetDriveTypeA(root.c_str()) == DRIVE_REMOTE;
}

std::wstring FixedDriveLetters() {
  std::wstring letters;
  const DWORD present = api::GetLogicalDrives();
  for (int drive = 0; drive < 26; ++drive) {
    const char root[] = {static_cast<char>('A' + drive), ':', '\\', '\0'};
    if ((present & (1u << drive)) != 0 && api::GetDriveTypeA(root) == DRIVE_FIXED) {
      letters += static_cast<wchar_t>(L'A' + drive);
    }
  }
  return letters;
}

std::wstring ThroughSubstitutedDrive(const std::wstring& path) {
  constexpr DWORD kRoom = 1024;
  if (path.size() < 2 || path[1] != L':') return {};
  char target[kRoom] = {};
  if (api::QueryDosDeviceA(ToAnsi(path.substr(0, 2)).c_str(), target, kRoom) == 0) return {};
  // The NT family answers "\??\C:\Apps" for a drive made with subst; a
  // real drive answers with a device name.
  const std::wstring folder = FromAnsi(target);
  if (folder.size() < 7 || folder.compare(0, 4, L"\\??\\") != 0 || folder[5] != L':') return {};
  std::wstring through = folder.substr(4);
  while (!through.empty() && through.back() == L'\\') through.pop_back();
  return through + path.substr(2);
}

}  // namespace qvn
