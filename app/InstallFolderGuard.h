#pragma once
#include <optional>
#include <string>
#include <vector>

namespace qvn {

// The install-folder step's decision for `location`: the folder it may
// delete, or nothing when the location must count as absent: a text that is
// not a full local path (relative, a drive alone or drive-relative, a network
// or device path, wildcards), one on a network drive, or one whose resolved
// form is a drive root, lies in, equals or holds one of the system's or the
// user's own folders, or equals or holds Program Files: by any of its names,
// with the usual names on every drive, and where folders can be opened also by
// what the folder is, whatever it is called (a second drive letter, a
// junction, a mounted folder). The registry's value is data from outside the
// tool: deleting it with force must never reach the user's or the system's
// files. On the NT family a location that is itself a folder link is judged
// by its names, and then by the folder it leads to, which it may delete.
struct InstallFolderDecision {
  std::optional<std::wstring> folder;  // what may be deleted
  std::wstring refusal;                // why not, when not
  // A full local path the guard turned down, as against a text that names no
  // place the step could delete (which counts as absent).
  bool refusedByGuard = false;
  // Where the location is a folder link: the link, which goes by itself
  // after `folder`, the folder it leads to (see app/InstallFolderLink.h).
  std::wstring link{};
  // A refusal that stops the whole removal, nothing removed: Quorvane's files
  // are there, but removing them would take what is not Quorvane's (another
  // installed program lives in the folder) or would reach where nothing may
  // be deleted (a folder link that leads to a folder of the system or the
  // users, a server, a whole volume), and removing the rest would orphan
  // them. Any other refusal means the registry names a place Quorvane cannot
  // be, which counts as absent.
  bool stopsRemoval = false;
};
InstallFolderDecision DecideInstallFolder(const std::wstring& location);

// "X:\..." with nothing a folder deletion would expand or reinterpret.
bool IsFullLocalPath(const std::wstring& text);

// Folders a forced deletion must not touch.
struct ProtectedFolders {
  // Nothing in them, nor they, nor any folder above them, may go.
  std::vector<std::wstring> sealed;
  // They and the folders above them may not go; what is inside them may.
  std::vector<std::wstring> containers;
};

// The system's and users' folders of both Windows families by their usual
// names on `drive` ('C'), for a machine that reports them nowhere or
// elsewhere, and for a second Windows or a copy of one on another drive.
ProtectedFolders UsualSystemFolders(wchar_t drive);

}  // namespace qvn
