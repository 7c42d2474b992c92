#pragma once
#include <string>

#include "services/PlatformTypes.h"

namespace qvn {

// Where a folder link leads, as the link itself says it.
struct FolderLink {
  enum class Kind {
    // No folder link: a plain folder, a file, nothing there, or a reparse
    // point of a kind that names no other place (a cloud or deduplication
    // placeholder is the folder itself).
    None,
    // `target` as the link stores it, in the system's own form:
    // "\??\D:\Quorvane", "\??\UNC\server\share\Quorvane", "\??\Volume{...}\".
    Junction,
    // The same, or with `relative` a path from the folder that holds the
    // link: "..\Apps\Quorvane".
    SymbolicLink,
    // The system opened what the link leads to instead of the link, and
    // `target` is that folder's path as the system names it ("\\?\D:\Quorvane"):
    // Wine does so for its host symbolic links, and has no data for them.
    FinalPath,
    // A link of a kind not read here: its `tag`.
    OtherKind,
    // The link could not be opened or read: the system's `error`.
    Unreadable,
  };
  Kind kind = Kind::None;
  std::wstring target;
  bool relative = false;
  DWORD tag = 0;
  DWORD error = 0;
};

// Reads the folder at `path` as a link: opened as the link itself
// (FILE_FLAG_OPEN_REPARSE_POINT) and asked for its reparse data
// (FSCTL_GET_REPARSE_POINT), the only way 2000 and XP have. Where the system
// hands back a folder that is no reparse point although its name is one, the
// path of that folder (GetFinalPathNameByHandleW, where it binds: Vista and
// later) is where the link leads. NT family only: its wide forms are bound at
// the first call, and 95/98/ME have no links.
FolderLink ReadFolderLink(const std::wstring& path);

}  // namespace qvn
