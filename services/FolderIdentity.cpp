#include "services/FolderIdentity.h"

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

}  // namespace qvn
