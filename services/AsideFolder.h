#pragma once
#include <string>

#include "services/PlatformTypes.h"

namespace qvn {

// Moving what stays in use out of the way, on the NT family, so that what is
// left can be removed now and the rest at the next restart. Windows lets a
// running program's file be renamed, though not deleted. Both calls take the
// wide names, so a name outside the system's code page is reached too; they
// are bound on the NT family only.

// A folder made for what is moved aside, or the system's error.
struct AsideFolder {
  std::wstring path;  // empty when none could be made
  DWORD error = ERROR_SUCCESS;
};

// Makes a new, empty folder beside `folder` (in the same parent, so on the
// same volume), named "QvnRemove.pending", or "QvnRemove.pending.2", ".3"...
// when that name is taken, by a folder or a file. Never a name Quorvane
// uses, and never a folder that was already there. ERROR_BAD_PATHNAME for a
// path with no folder above it.
AsideFolder MakeFolderBeside(const std::wstring& folder);

// Renames a file or folder to `to`, a path on the same volume; the system's
// error when it cannot, ERROR_SUCCESS when it did. Never copies: a move that
// would leave the volume fails with ERROR_NOT_SAME_DEVICE instead of leaving
// a copy beside an original in use. A file held open without delete sharing
// and a process's current folder refuse with ERROR_SHARING_VIOLATION; an
// existing `to` with ERROR_ALREADY_EXISTS. Each of these is the caller's cue
// to schedule the entry where it is.
DWORD MoveEntry(const std::wstring& from, const std::wstring& to);

}  // namespace qvn
