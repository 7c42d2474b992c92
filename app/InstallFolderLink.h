#pragma once
#include <string>

#include "app/RemovalObserver.h"

namespace qvn {

// An install folder that is itself a folder link: an administrator moved
// Quorvane to another drive and left a junction (or a symbolic link) where it
// was. The folder the link leads to is then the install folder: the guard
// judges it, the in-use check walks it, the removal deletes it and leaves
// what stays in use beside it, on its own volume; the link goes by itself
// after it. Deleting the link alone would leave every file behind, and a
// forced deletion through it would name every file by the link.

// At most this many links are followed from the install location; a longer
// chain, or one that comes back on itself, is refused.
inline constexpr int kMostLinkHops = 8;

// Where the folder link at a full local path leads, followed to its end.
struct LinkedFolder {
  bool isLink = false;   // the path is a folder link
  std::wstring folder;   // the folder the last link leads to ("D:\Quorvane"), when not refused
  std::wstring refusal;  // why it leads nowhere that may be removed, when it does not
};

// Follows the folder link at `path` (NT family only). Each link's target is
// read from the link; a relative one is taken from the folder that holds the
// link. A target that a drive letter does not name is refused without being
// opened: a server ("\??\UNC\..."), a whole volume ("\??\Volume{...}\"), a
// device path. A target on a network drive or a CD ends the chain unopened,
// for the guard to judge.
LinkedFolder FollowFolderLink(const std::wstring& path);

// Takes the install folder's link away by itself once the folder it leads to
// has been removed (RemoveDirectoryW removes a junction or a folder symbolic
// link, never what it leads to), and tells `observer` whether it went. Only
// the NT family has links, and only there is one followed.
void RemoveLinkAfterItsFolder(const std::wstring& link, RemovalObserver* observer);

}  // namespace qvn
