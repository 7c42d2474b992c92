#include "tests/fakes/SimulatedNtFiles.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "services/NtFileApi.h"
#include "tests/fakes/SimulatedPlatform.h"

namespace {

namespace fs = std::filesystem;
using qvn::nt::Status;

constexpr Status kInvalidHandle = static_cast<Status>(0xC0000008);
constexpr std::uint32_t kJunctionTag = 0xA0000003;  // IO_REPARSE_TAG_MOUNT_POINT

// The name of a counted text, in the simulation's code page.
std::string NameOf(const qvn::nt::UNICODE_STRING* name) {
  std::string narrow;
  for (std::size_t i = 0; i < name->Length / sizeof(WCHAR); ++i) {
    narrow += name->Buffer[i] < 256 ? static_cast<char>(name->Buffer[i]) : '?';
  }
  return narrow;
}

Status StatusOf(LONG error) {
  switch (error) {
    case 0:
      return qvn::nt::kSuccess;
    case ERROR_SHARING_VIOLATION:
      return qvn::nt::kSharingViolation;
    case ERROR_ACCESS_DENIED:
      return qvn::nt::kAccessDenied;
    default:
      return static_cast<Status>(0xC0070000u | static_cast<std::uint32_t>(error));
  }
}

bool IsReadOnly(const fs::path& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && (info.st_mode & S_IWUSR) == 0;
}

// The open file behind `handle`, or null.
fs::path* HostOf(HANDLE handle) {
  auto& paths = SimulatedPlatform::Current().openPaths;
  const auto found = paths.find(handle);
  return found == paths.end() ? nullptr : &found->second;
}

// Counts the call and fails it where a test chose to, with the status given.
#define SIMULATED_STATUS(name)                                         \
  LONG injected = 0;                                                   \
  if (SimulatedPlatform::Current().Fails(name, injected)) return injected;

Status WINAPI SimNtOpenFile(PHANDLE handle, DWORD access, qvn::nt::OBJECT_ATTRIBUTES* object,
                            qvn::nt::IO_STATUS_BLOCK*, std::uint32_t, std::uint32_t options) {
  SIMULATED_STATUS("NtOpenFile")
  SimulatedPlatform& platform = SimulatedPlatform::Current();
  const fs::path* folder = HostOf(object->RootDirectory);
  if (folder == nullptr) return kInvalidHandle;
  const fs::path host = *folder / NameOf(object->ObjectName);
  std::error_code error;
  if (!fs::exists(fs::symlink_status(host, error))) return qvn::nt::kObjectNameNotFound;
  if (platform.pendingDeletes.count(host) != 0) return qvn::nt::kDeletePending;
  const bool isFolder = fs::is_directory(host, error);
  if ((options & qvn::nt::kDirectoryFile) != 0 && !isFolder) return qvn::nt::kNotADirectory;
  if ((options & qvn::nt::kNonDirectoryFile) != 0 && isFolder) return qvn::nt::kFileIsADirectory;
  if (const LONG refusal = platform.OpenRefusal(host, access, FILE_FLAG_BACKUP_SEMANTICS)) return StatusOf(refusal);
  *handle = platform.OpenHandle(host, access);
  return qvn::nt::kSuccess;
}

// Fills `entries` with as many of the listing's remaining entries as fit,
// "." and ".." first, as on a real drive.
Status WINAPI SimNtQueryDirectoryFile(HANDLE folder, HANDLE, void*, void*, qvn::nt::IO_STATUS_BLOCK*, void* entries,
                                      std::uint32_t bytes, std::uint32_t informationClass, BYTE, qvn::nt::UNICODE_STRING*,
                                      BYTE restart) {
  SIMULATED_STATUS("NtQueryDirectoryFile")
  SimulatedPlatform& platform = SimulatedPlatform::Current();
  const fs::path* host = HostOf(folder);
  if (host == nullptr) return kInvalidHandle;
  if (informationClass != qvn::nt::kFileFullDirectoryInformation) return qvn::nt::kInvalidInfoClass;
  std::vector<fs::path>& left = platform.listings[folder];
  if (restart != 0) {
    left = {*host / ".", *host / ".."};
    std::vector<fs::path> children;
    for (const auto& child : fs::directory_iterator(*host)) children.push_back(child.path());
    std::sort(children.begin(), children.end());
    left.insert(left.end(), children.begin(), children.end());
  }
  if (left.empty()) return qvn::nt::kNoMoreFiles;
  auto* at = static_cast<BYTE*>(entries);
  qvn::nt::FILE_FULL_DIR_INFORMATION* last = nullptr;
  while (!left.empty()) {
    const std::string name = left.front().filename().string();
    const std::size_t size = (offsetof(qvn::nt::FILE_FULL_DIR_INFORMATION, FileName) + name.size() * sizeof(WCHAR) + 7) & ~std::size_t{7};
    if (at + size > static_cast<BYTE*>(entries) + bytes) break;
    auto* entry = reinterpret_cast<qvn::nt::FILE_FULL_DIR_INFORMATION*>(at);
    std::memset(entry, 0, size);
    std::error_code error;
    if (fs::is_symlink(left.front(), error)) entry->FileAttributes |= FILE_ATTRIBUTE_REPARSE_POINT;
    if (fs::is_directory(left.front(), error)) entry->FileAttributes |= FILE_ATTRIBUTE_DIRECTORY;
    if (IsReadOnly(left.front())) entry->FileAttributes |= FILE_ATTRIBUTE_READONLY;
    if (entry->FileAttributes == 0) entry->FileAttributes = FILE_ATTRIBUTE_NORMAL;
    entry->FileNameLength = static_cast<std::uint32_t>(name.size() * sizeof(WCHAR));
    std::copy(name.begin(), name.end(), entry->FileName);
    if (last != nullptr) last->NextEntryOffset = static_cast<std::uint32_t>(at - reinterpret_cast<BYTE*>(last));
    last = entry;
    at += size;
    left.erase(left.begin());
  }
  return last == nullptr ? static_cast<Status>(0x80000005) /* STATUS_BUFFER_OVERFLOW */ : qvn::nt::kSuccess;
}

// Only the attribute tag. A folder link answers as the junction it stands
// for, unless it is pinned: then, as under Wine, as the folder it leads to.
Status WINAPI SimNtQueryInformationFile(HANDLE file, qvn::nt::IO_STATUS_BLOCK*, void* information, std::uint32_t,
                                        std::uint32_t informationClass) {
  SIMULATED_STATUS("NtQueryInformationFile")
  SimulatedPlatform& platform = SimulatedPlatform::Current();
  const fs::path* host = HostOf(file);
  if (host == nullptr) return kInvalidHandle;
  if (informationClass != qvn::nt::kFileAttributeTagInformation) return qvn::nt::kInvalidInfoClass;
  auto* tag = static_cast<qvn::nt::FILE_ATTRIBUTE_TAG_INFORMATION*>(information);
  std::error_code error;
  tag->FileAttributes = fs::is_directory(*host, error) ? FILE_ATTRIBUTE_DIRECTORY : 0;
  if (IsReadOnly(*host)) tag->FileAttributes |= FILE_ATTRIBUTE_READONLY;
  const bool link = fs::is_symlink(*host, error) && !platform.drive.IsPinned(*host);
  if (link) tag->FileAttributes |= FILE_ATTRIBUTE_REPARSE_POINT;
  if (tag->FileAttributes == 0) tag->FileAttributes = FILE_ATTRIBUTE_NORMAL;
  tag->ReparseTag = link ? kJunctionTag : 0;
  return qvn::nt::kSuccess;
}

// A delete mark: refused for a running program's image and, unless told to
// ignore it, for a read-only entry; for a folder that still holds anything.
Status Mark(const fs::path& host, SimulatedPlatform::OpenFile& open, bool ignoreReadOnly, bool posix) {
  SimulatedPlatform& platform = SimulatedPlatform::Current();
  std::error_code error;
  if (platform.drive.IsMapped(host) || (!ignoreReadOnly && IsReadOnly(host))) return qvn::nt::kCannotDelete;
  if (!fs::is_symlink(host, error) && fs::is_directory(host, error) && !fs::is_empty(host, error)) {
    return qvn::nt::kDirectoryNotEmpty;
  }
  open.deleteMark = true;
  open.posixDelete = posix;
  return qvn::nt::kSuccess;
}

Status Rename(HANDLE file, const qvn::nt::FILE_RENAME_INFORMATION& rename) {
  SimulatedPlatform& platform = SimulatedPlatform::Current();
  const fs::path* folder = HostOf(rename.RootDirectory);
  if (folder == nullptr) return kInvalidHandle;
  const fs::path from = platform.openPaths[file];
  qvn::nt::UNICODE_STRING name{static_cast<std::uint16_t>(rename.FileNameLength),
                               static_cast<std::uint16_t>(rename.FileNameLength), const_cast<WCHAR*>(rename.FileName)};
  const fs::path to = *folder / NameOf(&name);
  std::error_code error;
  if (fs::exists(fs::symlink_status(to, error))) return qvn::nt::kObjectNameCollision;
  // The system opens the folder the name goes into for writing, sharing
  // reading and writing only: a handle on it that may delete refuses that.
  for (const auto& [handle, path] : platform.openPaths) {
    if (path == *folder && (platform.openFileStates[handle].access & DELETE) != 0) return qvn::nt::kSharingViolation;
  }
  if (platform.drive.VolumeOf(from.parent_path()) != platform.drive.VolumeOf(*folder)) return qvn::nt::kNotSameDevice;
  fs::rename(from, to);
  platform.drive.Renamed(from, to);
  for (auto& [handle, path] : platform.openPaths) path = SimulatedDrive::AfterRename(path, from, to);
  platform.calls.push_back(L"rename " + from.filename().wstring() + L" -> " + to.filename().wstring());
  return qvn::nt::kSuccess;
}

Status WINAPI SimNtSetInformationFile(HANDLE file, qvn::nt::IO_STATUS_BLOCK*, void* information, std::uint32_t,
                                      std::uint32_t informationClass) {
  SIMULATED_STATUS("NtSetInformationFile")
  SimulatedPlatform& platform = SimulatedPlatform::Current();
  const fs::path* host = HostOf(file);
  if (host == nullptr) return kInvalidHandle;
  SimulatedPlatform::OpenFile& open = platform.openFileStates[file];
  switch (informationClass) {
    case qvn::nt::kFileBasicInformation: {
      const std::uint32_t attributes = static_cast<qvn::nt::FILE_BASIC_INFORMATION*>(information)->FileAttributes;
      if (attributes == 0) return qvn::nt::kSuccess;
      std::error_code error;
      fs::permissions(*host, fs::perms::owner_write,
                      (attributes & FILE_ATTRIBUTE_READONLY) != 0 ? fs::perm_options::remove : fs::perm_options::add,
                      error);
      return qvn::nt::kSuccess;
    }
    case qvn::nt::kFileDispositionInformation:
      if (static_cast<qvn::nt::FILE_DISPOSITION_INFORMATION*>(information)->DeleteFile == 0) {
        open.deleteMark = false;
        return qvn::nt::kSuccess;
      }
      return Mark(*host, open, false, false);
    case qvn::nt::kFileDispositionInformationEx: {
      if (!platform.posixDeletes) return qvn::nt::kInvalidInfoClass;
      const std::uint32_t flags = static_cast<qvn::nt::FILE_DISPOSITION_INFORMATION_EX*>(information)->Flags;
      if ((flags & qvn::nt::kDispositionDelete) == 0) {
        open.deleteMark = false;
        return qvn::nt::kSuccess;
      }
      return Mark(*host, open, (flags & qvn::nt::kDispositionIgnoreReadOnly) != 0,
                  (flags & qvn::nt::kDispositionPosixSemantics) != 0);
    }
    case qvn::nt::kFileRenameInformation:
      return Rename(file, *static_cast<qvn::nt::FILE_RENAME_INFORMATION*>(information));
    default:
      return qvn::nt::kInvalidInfoClass;
  }
}

// The errors of the statuses the removal meets, as the system maps them.
std::uint32_t WINAPI SimRtlNtStatusToDosError(Status status) {
  switch (status) {
    case qvn::nt::kSuccess:
      return ERROR_SUCCESS;
    case qvn::nt::kSharingViolation:
      return ERROR_SHARING_VIOLATION;
    case qvn::nt::kAccessDenied:
    case qvn::nt::kCannotDelete:
    case qvn::nt::kDeletePending:
    case qvn::nt::kFileIsADirectory:
      return ERROR_ACCESS_DENIED;
    case qvn::nt::kObjectNameNotFound:
      return ERROR_FILE_NOT_FOUND;
    case qvn::nt::kObjectPathNotFound:
      return ERROR_PATH_NOT_FOUND;
    case qvn::nt::kDirectoryNotEmpty:
      return ERROR_DIR_NOT_EMPTY;
    case qvn::nt::kNotADirectory:
      return 267;  // ERROR_DIRECTORY
    default:
      return 317;  // ERROR_MR_MID_NOT_FOUND: no error stands for it
  }
}

#undef SIMULATED_STATUS

template <typename Fn>
qvn::Binder::Address AddressOf(Fn function) {
  return reinterpret_cast<qvn::Binder::Address>(function);
}

}  // namespace

qvn::Binder::Address BindNtCall(const char* name) {
  const struct {
    const char* name;
    qvn::Binder::Address address;
  } calls[] = {
      {"NtOpenFile", AddressOf(&SimNtOpenFile)},
      {"NtQueryDirectoryFile", AddressOf(&SimNtQueryDirectoryFile)},
      {"NtQueryInformationFile", AddressOf(&SimNtQueryInformationFile)},
      {"NtSetInformationFile", AddressOf(&SimNtSetInformationFile)},
      {"RtlNtStatusToDosError", AddressOf(&SimRtlNtStatusToDosError)},
  };
  for (const auto& call : calls) {
    if (std::strcmp(call.name, name) == 0) return call.address;
  }
  return nullptr;
}
