#pragma once
#include <string>

#include "services/AutomationObject.h"

namespace qvn {

// Deletes the file (`kind` exactly "file") or else the folder at `path`, with
// everything in it and read-only entries included, through the scripting
// file-system object; does nothing when it is not there. The path is passed
// unchanged. A Failure of the object (in use, access denied) is not caught.
// Returns whether there was something to delete.
// Whether the file (`kind` exactly "file") or else the folder at `path` is
// there, asked of the scripting file-system object; nothing is changed.
bool PathExists(AutomationObject& fileSys, const std::wstring& path, const std::wstring& kind);

bool DeletePath(AutomationObject& fileSys, const std::wstring& path, const std::wstring& kind);

}  // namespace qvn
