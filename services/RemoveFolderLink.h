#pragma once
#include <string>

namespace qvn {

// Removes the folder link (junction, symbolic link or mounted folder) at
// `link` by itself, leaving what it leads to untouched: RemoveDirectoryA takes
// away the link, never the folder behind it. Raises Failure naming the link
// when the system will not remove it that way, so that the caller can stop
// before anything else is removed.
void RemoveFolderLink(const std::wstring& link);

}  // namespace qvn
