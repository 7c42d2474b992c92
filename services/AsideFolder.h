#pragma once
#include <string>
#include <vector>

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
  // The mark in it, "QvnRemove.mark": listed for the restart before the
  // folder, which goes then only when it is empty.
  std::wstring mark;
};

// Makes a new folder beside `folder` (in the same parent, so on the same
// volume), named "QvnRemove.pending", or "QvnRemove.pending.2", ".3"...
// when that name is taken, by a folder or a file. Never a name Quorvane
// uses, and never a folder that was already there. Before anything is moved
// into it, it gets its mark, a small text file of that name, so that a run
// that stops half way leaves a folder a later run knows for one of this
// program's own, never by its name alone; a folder that cannot be marked is
// removed again, with the system's error. ERROR_BAD_PATHNAME for a path with
// no folder above it.
AsideFolder MakeFolderBeside(const std::wstring& folder);

// Removes a folder made beside that nothing was moved into: its mark, then
// the folder.
void DropAsideFolder(const AsideFolder& aside);

// The folders beside `folder` that this program made for what it moved
// aside: a name it gives them, and its mark inside. A folder of such a name
// without the mark, and a folder link of such a name, are someone else's.
std::vector<std::wstring> MarkedFoldersBeside(const std::wstring& folder);

// Renames a file or folder to `to`, a path on the same volume; the system's
// error when it cannot, ERROR_SUCCESS when it did. Never copies: a move that
// would leave the volume fails with ERROR_NOT_SAME_DEVICE instead of leaving
// a copy beside an original in use. A file held open without delete sharing
// and a process's current folder refuse with ERROR_SHARING_VIOLATION; an
// existing `to` with ERROR_ALREADY_EXISTS. Each of these is the caller's cue
// to schedule the entry where it is.
DWORD MoveEntry(const std::wstring& from, const std::wstring& to);

}  // namespace qvn
