#pragma once
#include <optional>
#include <string>
#include <vector>

namespace qvn {

// The folder the install-folder step may delete for `location`, or nothing
// when the location must count as absent: a text that is not a full local
// path (relative, a drive alone or drive-relative, a network or device path,
// wildcards), one on a network drive, or one whose resolved form is a drive
// root, lies in, equals or holds one of the system's or the user's own
// folders, or equals or holds Program Files: by name, with the usual names on
// every drive, and on the NT family also by what the folder is, whatever it
// is called (a second drive letter, a junction, a mounted folder). The registry's value is data from outside the tool: deleting
// it with force must never reach the user's or the system's files.
std::optional<std::wstring> InstallFolderToDelete(const std::wstring& location);

// The same decision with its reason, for a record of the removal.
struct InstallFolderDecision {
  std::optional<std::wstring> folder;  // what may be deleted
  std::wstring refusal;                // why not, when not
  // A full local path the guard turned down, as against a text that names no
  // place the step could delete (which counts as absent).
  bool refusedByGuard = false;
};
InstallFolderDecision DecideInstallFolder(const std::wstring& location);

// "X:\..." with nothing a folder deletion would expand or reinterpret.
bool IsFullLocalPath(const std::wstring& text);

// True when the two full paths name the same place: resolved, without regard
// to case or closing backslashes, long or short (8.3) forms alike.
bool IsSamePlace(const std::wstring& first, const std::wstring& second);

// Folders a forced deletion must not touch.
struct ProtectedFolders {
  // Nothing in them, nor they, nor any folder above them, may go.
  std::vector<std::wstring> sealed;
  // They and the folders above them may not go; what is inside them may.
  std::vector<std::wstring> containers;
};

// True when a form of the candidate is a drive root, lies in, equals or holds
// a sealed folder, or equals or holds a container. Case and closing
// backslashes do not count; folders compare whole ("C:\Program" does not hold
// "C:\Program Files").
bool IsProtectedFolder(const std::vector<std::wstring>& candidateForms, const ProtectedFolders& folders);

// The system's and users' folders of both Windows families by their usual
// names on `drive` ('C'), for a machine that reports them nowhere or
// elsewhere, and for a second Windows or a copy of one on another drive.
ProtectedFolders UsualSystemFolders(wchar_t drive);

// True when `path` is `folder` or lies inside it, resolved, long or short
// forms alike, without regard to case.
bool LiesIn(const std::wstring& path, const std::wstring& folder);

// True when `folder`, or a folder above it, is `path`'s folder or one above it
// by what they are, whatever they are called (another mix of long and short
// names, a second drive letter); false where folders cannot be opened.
bool LiesInByIdentity(const std::wstring& path, const std::wstring& folder);

}  // namespace qvn
