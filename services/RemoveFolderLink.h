#pragma once
#include <string>

#include "services/PlatformTypes.h"

namespace qvn {

// Removes the folder link (junction, symbolic link or mounted folder) at
// `link` by itself, leaving what it leads to untouched: removing it as a
// folder takes away the link, never the folder behind it. On the NT family
// the link is named in its wide form, so that a name outside the system's
// code page is found. Returns ERROR_SUCCESS, or the system's error when it
// will not remove the link that way.
DWORD RemoveFolderLink(const std::wstring& link, bool ntFamily);

}  // namespace qvn
