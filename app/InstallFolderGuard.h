#pragma once
#include <optional>
#include <string>
#include <vector>

namespace qvn {

// The folder the install-folder step may delete for `location`, or nothing
// when the location must count as absent: a text that is not a full local
// path (relative, a drive alone or drive-relative, a network or device path,
// wildcards), or one whose resolved form is a drive root or equals or holds
// one of the system's own folders. The registry's value is data from outside
// the tool: deleting it with force must never reach the user's or system's files.
std::optional<std::wstring> InstallFolderToDelete(const std::wstring& location);

// "X:\..." with nothing a folder deletion would expand or reinterpret.
bool IsFullLocalPath(const std::wstring& text);

// True when a form of the candidate is a drive root, or equals or holds a
// form of a protected folder. Case and closing backslashes do not count.
bool IsProtectedFolder(const std::vector<std::wstring>& candidateForms,
                       const std::vector<std::wstring>& protectedForms);

// The shell and system folders of both Windows families at their usual places.
const std::vector<std::wstring>& UsualSystemFolders();

}  // namespace qvn
