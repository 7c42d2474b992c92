#include "services/LinkTarget.h"

#include <cstring>
#include <optional>
#include <type_traits>
#include <vector>

#include "services/Failure.h"
#include "services/KernelHandle.h"
#include "services/LastError.h"
#include "services/PlatformApi.h"
#include "services/ReparseData.h"

#ifdef _WIN32
#include <winioctl.h>
// The system's own layout, which windows.h leaves out, checked against the
// one read here, for each architecture the program is built for.
#include <ntdef.h>
static_assert(FSCTL_GET_REPARSE_POINT == qvn::kGetReparsePoint, "the control code");
static_assert(IO_REPARSE_TAG_MOUNT_POINT == qvn::kJunctionTag && IO_REPARSE_TAG_SYMLINK == qvn::kSymbolicLinkTag,
              "the tags of the two kinds of folder link");
static_assert(offsetof(REPARSE_DATA_BUFFER, MountPointReparseBuffer.PathBuffer) == sizeof(qvn::JunctionReparse),
              "a junction's names");
static_assert(offsetof(REPARSE_DATA_BUFFER, SymbolicLinkReparseBuffer.Flags) ==
                  offsetof(qvn::SymbolicLinkReparse, flags),
              "a symbolic link's flags");
static_assert(offsetof(REPARSE_DATA_BUFFER, SymbolicLinkReparseBuffer.PathBuffer) ==
                  sizeof(qvn::SymbolicLinkReparse),
              "a symbolic link's names");
#endif

namespace qvn {
namespace {

constexpr DWORD kFolderLink = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
constexpr DWORD kDosName = 0;  // GetFinalPathNameByHandleW: FILE_NAME_NORMALIZED | VOLUME_NAME_DOS
constexpr DWORD kLongestPath = 32768;

FolderLink Unreadable(DWORD error) {
  FolderLink link;
  link.kind = FolderLink::Kind::Unreadable;
  link.error = error;
  return link;
}

// The substitute name of reparse data whose path buffer starts at `start`:
// UTF-16 code units, at most as long as the data handed back.
std::optional<std::wstring> SubstituteName(const std::vector<BYTE>& data, std::size_t start, const ReparseNames& names) {
  const std::size_t first = start + names.substituteOffset;
  if (names.substituteLength % 2 != 0 || first + names.substituteLength > data.size()) return std::nullopt;
  std::wstring name;
  for (std::size_t at = first; at < first + names.substituteLength; at += 2) {
    std::uint16_t unit = 0;
    std::memcpy(&unit, &data[at], sizeof unit);
    name += static_cast<wchar_t>(unit);
  }
  return name;
}

// A junction or a symbolic link, from the data FSCTL_GET_REPARSE_POINT gave
// (`data` holds exactly what it returned).
template <typename Layout>
FolderLink Read(const std::vector<BYTE>& data, FolderLink::Kind kind) {
  Layout layout{};
  if (data.size() < sizeof layout) return Unreadable(ERROR_INVALID_DATA);
  std::memcpy(&layout, data.data(), sizeof layout);
  const std::optional<std::wstring> name = SubstituteName(data, sizeof layout, layout.names);
  if (!name || name->empty()) return Unreadable(ERROR_INVALID_DATA);
  FolderLink link;
  link.kind = kind;
  link.target = *name;
  if constexpr (std::is_same_v<Layout, SymbolicLinkReparse>) {
    link.relative = (layout.flags & kRelativeSymbolicLink) != 0;
  }
  return link;
}

FolderLink FromReparseData(const std::vector<BYTE>& data) {
  ReparseHeader header{};
  if (data.size() < sizeof header) return Unreadable(ERROR_INVALID_DATA);
  std::memcpy(&header, data.data(), sizeof header);
  if (header.tag == kJunctionTag) return Read<JunctionReparse>(data, FolderLink::Kind::Junction);
  if (header.tag == kSymbolicLinkTag) return Read<SymbolicLinkReparse>(data, FolderLink::Kind::SymbolicLink);
  FolderLink other;
  if ((header.tag & kNameSurrogateBit) != 0) {
    other.kind = FolderLink::Kind::OtherKind;
    other.tag = header.tag;
  }
  return other;
}

// The folder the handle ended up on, by its path, where the system can name
// it; systems before Vista cannot, and there the link cannot be read.
FolderLink ReachedFolder(HANDLE opened) {
  api::GetFinalPathNameByHandleWFn finalPath = nullptr;
  try {
    finalPath = api::GetFinalPathNameByHandleW.Resolve();
  } catch (const Failure&) {
    return Unreadable(ERROR_NOT_A_REPARSE_POINT);
  }
  const LastError lastError;
  std::wstring name(kLongestPath, L'\0');
  const DWORD length = finalPath(opened, &name[0], kLongestPath, kDosName);
  if (length == 0) return Unreadable(lastError());
  if (length >= kLongestPath) return Unreadable(ERROR_INSUFFICIENT_BUFFER);
  name.resize(length);
  FolderLink link;
  link.kind = FolderLink::Kind::FinalPath;
  link.target = name;
  return link;
}

}  // namespace

FolderLink ReadFolderLink(const std::wstring& path) {
  const DWORD attributes = api::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & kFolderLink) != kFolderLink) return {};
  const LastError lastError;
  const HANDLE opened = api::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING,
                                         FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (opened == INVALID_HANDLE_VALUE) return Unreadable(lastError());
  const KernelHandle link(opened);
  std::vector<BYTE> data(kMostReparseData);
  DWORD returned = 0;
  if (!api::DeviceIoControl(link.Get(), kGetReparsePoint, nullptr, 0, data.data(), static_cast<DWORD>(data.size()),
                            &returned, nullptr)) {
    const DWORD error = lastError();
    return error == static_cast<DWORD>(ERROR_NOT_A_REPARSE_POINT) ? ReachedFolder(link.Get()) : Unreadable(error);
  }
  data.resize(returned < data.size() ? returned : data.size());
  return FromReparseData(data);
}

}  // namespace qvn
