#pragma once
// The native file functions of the NT family (ntdll), declared once with
// their library and entry-point name like those of PlatformApi.h and bound at
// their first call, which happens on the NT family only: 95/98/ME have no
// ntdll and never bind them. They name an entry relative to a folder the
// program holds open, by the name the folder's listing gave, with no DOS
// device names, no trailing-dot rules and no 260-character limit, which is
// what lets the removal hold every entry of Quorvane before it removes any.
//
// The structures are the system's own, laid out as on Windows for i686 and
// x86_64 (checked at the end of this file for each); on the host, where wide
// characters are four bytes, they keep their fields and the simulated
// platform fills them the same way.

#include <cstddef>
#include <cstdint>

#include "services/BoundFunction.h"
#include "services/PlatformTypes.h"

namespace qvn::nt {

using Status = std::int32_t;  // NTSTATUS: below zero is an error, above a warning or information

// A counted text, not ended by a null: Length and MaximumLength in bytes.
struct UNICODE_STRING {
  std::uint16_t Length;
  std::uint16_t MaximumLength;
  WCHAR* Buffer;
};

struct OBJECT_ATTRIBUTES {
  std::uint32_t Length;
  HANDLE RootDirectory;  // the folder the name is relative to
  UNICODE_STRING* ObjectName;
  std::uint32_t Attributes;
  void* SecurityDescriptor;
  void* SecurityQualityOfService;
};

struct IO_STATUS_BLOCK {
  union {
    std::int32_t Status;
    void* Pointer;
  };
  ULONG_PTR Information;
};

// One entry of a folder's listing; FileName holds FileNameLength bytes and
// no null. NextEntryOffset is 0 on the last entry of a buffer.
struct FILE_FULL_DIR_INFORMATION {
  std::uint32_t NextEntryOffset;
  std::uint32_t FileIndex;
  std::int64_t CreationTime;
  std::int64_t LastAccessTime;
  std::int64_t LastWriteTime;
  std::int64_t ChangeTime;
  std::int64_t EndOfFile;
  std::int64_t AllocationSize;
  std::uint32_t FileAttributes;
  std::uint32_t FileNameLength;
  std::uint32_t EaSize;
  WCHAR FileName[1];
};

struct FILE_ATTRIBUTE_TAG_INFORMATION {
  std::uint32_t FileAttributes;
  std::uint32_t ReparseTag;
};

// Times of 0 mean "no change"; so do attributes of 0.
struct FILE_BASIC_INFORMATION {
  std::int64_t CreationTime;
  std::int64_t LastAccessTime;
  std::int64_t LastWriteTime;
  std::int64_t ChangeTime;
  std::uint32_t FileAttributes;
};

struct FILE_DISPOSITION_INFORMATION {
  BYTE DeleteFile;  // BOOLEAN
};

struct FILE_DISPOSITION_INFORMATION_EX {
  std::uint32_t Flags;
};

// A rename: FileName (FileNameLength bytes) relative to RootDirectory.
struct FILE_RENAME_INFORMATION {
  BYTE ReplaceIfExists;  // BOOLEAN; Windows 10 reads the first four bytes as flags
  HANDLE RootDirectory;
  std::uint32_t FileNameLength;
  WCHAR FileName[1];
};

// The information classes used here.
inline constexpr std::uint32_t kFileFullDirectoryInformation = 2;
inline constexpr std::uint32_t kFileBasicInformation = 4;
inline constexpr std::uint32_t kFileRenameInformation = 10;
inline constexpr std::uint32_t kFileDispositionInformation = 13;
inline constexpr std::uint32_t kFileAttributeTagInformation = 35;  // Windows 2000 and later
inline constexpr std::uint32_t kFileDispositionInformationEx = 64;  // Windows 10 1607 and later

// Open options (FILE_*), access rights and object attributes.
inline constexpr std::uint32_t kDirectoryFile = 0x00000001;          // FILE_DIRECTORY_FILE
inline constexpr std::uint32_t kSynchronousIoNonAlert = 0x00000020;  // FILE_SYNCHRONOUS_IO_NONALERT
inline constexpr std::uint32_t kNonDirectoryFile = 0x00000040;       // FILE_NON_DIRECTORY_FILE
inline constexpr std::uint32_t kOpenReparsePoint = 0x00200000;       // FILE_OPEN_REPARSE_POINT, 2000 and later
inline constexpr std::uint32_t kCaseInsensitive = 0x00000040;        // OBJ_CASE_INSENSITIVE
inline constexpr DWORD kListDirectory = 0x0001;                      // FILE_LIST_DIRECTORY
inline constexpr DWORD kAddFile = 0x0002;                            // FILE_ADD_FILE
inline constexpr DWORD kAddSubdirectory = 0x0004;                    // FILE_ADD_SUBDIRECTORY
inline constexpr DWORD kReadAttributes = 0x0080;                     // FILE_READ_ATTRIBUTES
inline constexpr DWORD kWriteAttributes = 0x0100;                    // FILE_WRITE_ATTRIBUTES
inline constexpr DWORD kSynchronize = 0x00100000;                    // SYNCHRONIZE
inline constexpr DWORD kOpenReparsePointFlag = 0x00200000;           // FILE_FLAG_OPEN_REPARSE_POINT, for CreateFileW

// FILE_DISPOSITION_INFORMATION_EX flags.
inline constexpr std::uint32_t kDispositionDelete = 0x1;
inline constexpr std::uint32_t kDispositionPosixSemantics = 0x2;
inline constexpr std::uint32_t kDispositionIgnoreReadOnly = 0x10;  // Windows 10 1809 and later

// A junction, a symbolic link or a mounted folder: the reparse tags that give
// another name to something elsewhere (IsReparseTagNameSurrogate).
inline bool IsNameSurrogate(std::uint32_t tag) { return (tag & 0x20000000u) != 0; }

// The statuses the removal tells apart.
inline constexpr Status kSuccess = 0;
inline constexpr Status kNoMoreFiles = static_cast<Status>(0x80000006);
inline constexpr Status kNotImplemented = static_cast<Status>(0xC0000002);
inline constexpr Status kInvalidInfoClass = static_cast<Status>(0xC0000003);
inline constexpr Status kInvalidParameter = static_cast<Status>(0xC000000D);
inline constexpr Status kAccessDenied = static_cast<Status>(0xC0000022);
inline constexpr Status kObjectNameNotFound = static_cast<Status>(0xC0000034);
inline constexpr Status kObjectNameCollision = static_cast<Status>(0xC0000035);
inline constexpr Status kObjectPathNotFound = static_cast<Status>(0xC000003A);
inline constexpr Status kSharingViolation = static_cast<Status>(0xC0000043);
inline constexpr Status kDeletePending = static_cast<Status>(0xC0000056);
inline constexpr Status kInsufficientResources = static_cast<Status>(0xC000009A);
inline constexpr Status kFileIsADirectory = static_cast<Status>(0xC00000BA);
inline constexpr Status kNotSupported = static_cast<Status>(0xC00000BB);
inline constexpr Status kNotSameDevice = static_cast<Status>(0xC00000D4);
inline constexpr Status kDirectoryNotEmpty = static_cast<Status>(0xC0000101);
inline constexpr Status kNotADirectory = static_cast<Status>(0xC0000103);
inline constexpr Status kTooManyOpenedFiles = static_cast<Status>(0xC000011F);
inline constexpr Status kCannotDelete = static_cast<Status>(0xC0000121);

}  // namespace qvn::nt

namespace qvn::api {

using NtOpenFileFn = nt::Status(WINAPI*)(PHANDLE handle, DWORD access, nt::OBJECT_ATTRIBUTES* object,
                                         nt::IO_STATUS_BLOCK* io, std::uint32_t sharing, std::uint32_t options);
using NtQueryDirectoryFileFn = nt::Status(WINAPI*)(HANDLE folder, HANDLE event, void* apcRoutine, void* apcContext,
                                                   nt::IO_STATUS_BLOCK* io, void* entries, std::uint32_t bytes,
                                                   std::uint32_t informationClass, BYTE singleEntry,
                                                   nt::UNICODE_STRING* pattern, BYTE restartScan);
using NtQueryInformationFileFn = nt::Status(WINAPI*)(HANDLE file, nt::IO_STATUS_BLOCK* io, void* information,
                                                     std::uint32_t bytes, std::uint32_t informationClass);
using NtSetInformationFileFn = nt::Status(WINAPI*)(HANDLE file, nt::IO_STATUS_BLOCK* io, void* information,
                                                   std::uint32_t bytes, std::uint32_t informationClass);
using RtlNtStatusToDosErrorFn = std::uint32_t(WINAPI*)(nt::Status status);

inline const BoundFunction<NtOpenFileFn> NtOpenFile{"ntdll.dll", "NtOpenFile"};
inline const BoundFunction<NtQueryDirectoryFileFn> NtQueryDirectoryFile{"ntdll.dll", "NtQueryDirectoryFile"};
inline const BoundFunction<NtQueryInformationFileFn> NtQueryInformationFile{"ntdll.dll", "NtQueryInformationFile"};
inline const BoundFunction<NtSetInformationFileFn> NtSetInformationFile{"ntdll.dll", "NtSetInformationFile"};
inline const BoundFunction<RtlNtStatusToDosErrorFn> RtlNtStatusToDosError{"ntdll.dll", "RtlNtStatusToDosError"};

}  // namespace qvn::api

#ifdef _WIN32
namespace qvn::nt {

#ifdef _WIN64
static_assert(sizeof(UNICODE_STRING) == 16 && offsetof(UNICODE_STRING, Buffer) == 8, "UNICODE_STRING, x86_64");
static_assert(sizeof(OBJECT_ATTRIBUTES) == 48 && offsetof(OBJECT_ATTRIBUTES, RootDirectory) == 8 &&
                  offsetof(OBJECT_ATTRIBUTES, ObjectName) == 16 && offsetof(OBJECT_ATTRIBUTES, Attributes) == 24 &&
                  offsetof(OBJECT_ATTRIBUTES, SecurityQualityOfService) == 40,
              "OBJECT_ATTRIBUTES, x86_64");
static_assert(sizeof(IO_STATUS_BLOCK) == 16 && offsetof(IO_STATUS_BLOCK, Information) == 8, "IO_STATUS_BLOCK, x86_64");
static_assert(sizeof(FILE_RENAME_INFORMATION) == 24 && offsetof(FILE_RENAME_INFORMATION, RootDirectory) == 8 &&
                  offsetof(FILE_RENAME_INFORMATION, FileNameLength) == 16 &&
                  offsetof(FILE_RENAME_INFORMATION, FileName) == 20,
              "FILE_RENAME_INFORMATION, x86_64");
#else
static_assert(sizeof(UNICODE_STRING) == 8 && offsetof(UNICODE_STRING, Buffer) == 4, "UNICODE_STRING, i686");
static_assert(sizeof(OBJECT_ATTRIBUTES) == 24 && offsetof(OBJECT_ATTRIBUTES, RootDirectory) == 4 &&
                  offsetof(OBJECT_ATTRIBUTES, ObjectName) == 8 && offsetof(OBJECT_ATTRIBUTES, Attributes) == 12 &&
                  offsetof(OBJECT_ATTRIBUTES, SecurityQualityOfService) == 20,
              "OBJECT_ATTRIBUTES, i686");
static_assert(sizeof(IO_STATUS_BLOCK) == 8 && offsetof(IO_STATUS_BLOCK, Information) == 4, "IO_STATUS_BLOCK, i686");
static_assert(sizeof(FILE_RENAME_INFORMATION) == 16 && offsetof(FILE_RENAME_INFORMATION, RootDirectory) == 4 &&
                  offsetof(FILE_RENAME_INFORMATION, FileNameLength) == 8 &&
                  offsetof(FILE_RENAME_INFORMATION, FileName) == 12,
              "FILE_RENAME_INFORMATION, i686");
#endif
// The same on both: no pointers, 64-bit times aligned to eight bytes.
static_assert(sizeof(FILE_FULL_DIR_INFORMATION) == 72 && offsetof(FILE_FULL_DIR_INFORMATION, FileAttributes) == 56 &&
                  offsetof(FILE_FULL_DIR_INFORMATION, FileNameLength) == 60 &&
                  offsetof(FILE_FULL_DIR_INFORMATION, FileName) == 68,
              "FILE_FULL_DIR_INFORMATION");
static_assert(sizeof(FILE_BASIC_INFORMATION) == 40 && offsetof(FILE_BASIC_INFORMATION, FileAttributes) == 32,
              "FILE_BASIC_INFORMATION");
static_assert(sizeof(FILE_ATTRIBUTE_TAG_INFORMATION) == 8, "FILE_ATTRIBUTE_TAG_INFORMATION");
static_assert(sizeof(FILE_DISPOSITION_INFORMATION) == 1, "FILE_DISPOSITION_INFORMATION");
static_assert(sizeof(FILE_DISPOSITION_INFORMATION_EX) == 4, "FILE_DISPOSITION_INFORMATION_EX");
static_assert(sizeof(WCHAR) == 2, "names are UTF-16");

}  // namespace qvn::nt
#endif
