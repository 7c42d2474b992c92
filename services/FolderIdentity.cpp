#include "services/FolderIdentity.h"

#include "services/Concat.h"
#include "services/Failure.h"
#include "services/KernelHandle.h"
#include "services/PlatformApi.h"
#include "services/SystemText.h"
#include "services/Text.h"

namespace qvn {

std::optional<FolderIdentity> IdentityOf(const std::wstring& path) {
  constexpr DWORD kAnySharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  HANDLE opened =
      NamesInUnicode()
          ? api::CreateFileW(path.c_str(), 0, kAnySharing, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)
          : api::CreateFileA(ToAnsi(path).c_str(), 0, kAnySharing, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                             nullptr);
  if (opened == INVALID_HANDLE_VALUE) return std::nullopt;
  const KernelHandle folder(opened);
  BY_HANDLE_FILE_INFORMATION information{};
  if (!api::GetFileInformationByHandle(folder.Get(), &information)) return std::nullopt;
  if ((information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return std::nullopt;
  return FolderIdentity{information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow};
}

namespace {

bool IsLocalDriveType(UINT type) { return type == DRIVE_FIXED || type == DRIVE_REMOVABLE || type == DRIVE_RAMDISK; }

// The type of the drive of "X:\...": DRIVE_NO_ROOT_DIR for anything else.
UINT DriveTypeOf(const std::wstring& path) {
  if (path.size() < 2 || path[1] != L':' || path[0] > 0x7F) return DRIVE_NO_ROOT_DIR;
  const wchar_t root[] = {path[0], L':', L'\\', L'\0'};
  return NamesInUnicode() ? api::GetDriveTypeW(root) : api::GetDriveTypeA(ToAnsi(root).c_str());
}

}  // namespace

bool IsOnNetworkDrive(const std::wstring& path) { return DriveTypeOf(path) == DRIVE_REMOTE; }

bool IsOnServer(const std::wstring& path) {
  const bool networkPath = path.size() >= 2 && (path[0] == L'\\' || path[0] == L'/') && (path[1] == L'\\' || path[1] == L'/');
  return networkPath || IsOnNetworkDrive(path);
}

std::wstring FixedDriveLetters() {
  std::wstring letters;
  const DWORD present = api::GetLogicalDrives();
  for (int drive = 0; drive < 26; ++drive) {
    const std::wstring root = {static_cast<wchar_t>(L'A' + drive), L':', L'\\'};
    if ((present & (1u << drive)) == 0) continue;
    const UINT type = DriveTypeOf(root);
    if (type == DRIVE_FIXED || type == DRIVE_RAMDISK) letters += root[0];
  }
  return letters;
}

bool IsOnLocalDrive(const std::wstring& path) { return IsLocalDriveType(DriveTypeOf(path)); }

std::wstring ThroughSubstitutedDrive(const std::wstring& path) {
  if (path.size() < 2 || path[1] != L':') return {};
  const std::wstring drive = path.substr(0, 2);
  // The NT family answers "\??\C:\Apps" for a drive made with subst; a
  // real drive answers with a device name.
  const std::wstring folder = FilledText(
      [&](wchar_t* targets, DWORD room) { return api::QueryDosDeviceW(drive.c_str(), targets, room); },
      [&](char* targets, DWORD room) { return api::QueryDosDeviceA(ToAnsi(drive).c_str(), targets, room); });
  if (folder.size() < 7 || folder.compare(0, 4, L"\\??\\") != 0 || folder[5] != L':') return {};
  std::wstring through = folder.substr(4);
  while (!through.empty() && through.back() == L'\\') through.pop_back();
  return Concat({through, std::wstring_view(path).substr(2)});
}

}  // namespace qvn
