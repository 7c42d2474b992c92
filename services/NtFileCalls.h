#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "services/FunctionRef.h"
#include "services/KernelHandle.h"
#include "services/NtFileApi.h"

namespace qvn {

// The few native calls the removal by handles makes on the files and folders
// it holds, each a thin wrapper that answers the system's status. NT family
// only: they bind ntdll.

// The rights the removal holds every entry with, and the sharing it grants:
// it may delete, and read and write the attributes; everyone else may read,
// write and delete too, so that only a program that refuses to share
// deletion (an open file, a process's current folder) stands in its way.
inline constexpr DWORD kDeletionAccess = DELETE | nt::kSynchronize | nt::kReadAttributes | nt::kWriteAttributes;
inline constexpr std::uint32_t kShareEverything = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Opens the target at `path` (a full path; made a "\\?\" path when too long
// for the usual rules, or when `exact`: a name as a listing gave it, which
// the usual rules could read as a device or trim) with `access`, sharing
// everything. Links in the path on the way are followed (Vista's
// C:\Documents and Settings), the last name with `reparsePoints` opened as
// itself. Answers the platform's error, ERROR_SUCCESS with `opened` holding
// the handle.
DWORD OpenTarget(const std::wstring& path, DWORD access, bool reparsePoints, KernelHandle& opened, bool exact = false);

// Its attributes, as a listing of the folder above would give them;
// INVALID_FILE_ATTRIBUTES when it is not there.
DWORD TargetAttributes(const std::wstring& path, bool exact = false);

// Opens `name`, exactly as the listing of the held `folder` gave it, as the
// kind listed: an entry swapped for the other kind meanwhile fails instead.
// With `reparsePoints` (Windows 2000 and later) a link is opened as itself.
// `access` is kDeletionAccess, with listing added for a folder, or listing
// alone for a folder that is in use.
nt::Status OpenEntry(HANDLE folder, const std::wstring& name, bool isFolder, bool reparsePoints, DWORD access,
                     KernelHandle& opened);

// Hands each entry of the held `folder` to `each`, with its attributes, "."
// and ".." left out. kSuccess once it was listed to its end; else the status
// that kept it from being listed. `buffer` is reused from call to call.
using EachListed = FunctionRef<void(const std::wstring& name, DWORD attributes)>;
nt::Status ListFolder(HANDLE folder, std::vector<std::uint64_t>& buffer, const EachListed& each);

// What the entry itself is: its attributes and, for a reparse point, its tag.
nt::Status ReadAttributeTag(HANDLE entry, DWORD& attributes, std::uint32_t& tag);

// Sets the entry's attributes (FILE_ATTRIBUTE_NORMAL for none: 0 changes nothing).
nt::Status WriteAttributes(HANDLE entry, DWORD attributes);

// Sets or clears the delete mark: the entry goes when its last handle closes.
nt::Status SetDeleteMark(HANDLE entry, bool deleteIt);
// The same with Windows 10's flags (kDispositionDelete, kDispositionPosixSemantics...);
// 0 clears the mark.
nt::Status SetDeleteMarkEx(HANDLE entry, std::uint32_t flags);

// Renames the held entry to `name` inside the held `folder`, never over an
// existing entry.
nt::Status RenameInto(HANDLE entry, HANDLE folder, const std::wstring& name);

// The Windows error a status stands for, as GetLastError would give it.
DWORD ErrorOfStatus(nt::Status status);

// "0xC0000043", for a report.
std::wstring StatusText(nt::Status status);

}  // namespace qvn
