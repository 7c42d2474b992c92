#pragma once
#include <string>
#include <vector>

#include "app/RemovalObserver.h"
#include "services/FilesInUse.h"

namespace qvn {

// The name the system will know `path` by when it carries its list out,
// early in its next start: a drive made with subst does not exist then.
std::wstring AsNamedAtBoot(const std::wstring& path);

// Which of the files and folders in use an earlier run already left for the
// restart: the system will delete them then (NT family: the pending deletions
// the system keeps; 95/98/ME: WININIT.INI, by short names). A second run
// before the restart goes around them and never lists them again.
std::vector<RemovalTarget> AlreadyPendingAtRestart(const std::vector<RemovalTarget>& inUse, bool ntFamily);

// The result of leaving what stays in use for the restart.
struct LeftForRestart {
  bool done = false;
  std::wstring refusal;  // why the system would not take it, when not done
  // What stays where it is until the restart, for the removal to go around:
  // the entries that could not be moved (the folders that hold them stay too).
  std::vector<std::wstring> staying;
};

// Leaves each of `inUse` for the restart, before anything is removed, so that
// the removal can take everything else now and the installation is never half
// removed. On the NT family each file in use is first moved into a fresh
// folder beside `installFolder` (empty: none is moved), which Windows allows
// for a running program's file; the moved files, the folder's mark and then
// that folder are listed for deletion at the restart. What cannot be moved (a file open
// without delete sharing, a process's current folder, an entry a mount point
// puts on another volume) is listed where it is, files before the folders
// that hold them, up to the target folder it lies in. On 95/98/ME the files
// are listed in WININIT.INI where they are; folders cannot be listed there
// and stay, empty, after the restart. If the system refuses any of it, what
// was moved is moved back and nothing counts as done. Every move and every
// entry listed goes to `observer`, each told whether it is listed where it is
// (outside the folder aside).
LeftForRestart LeaveForRestart(const std::vector<RemovalTarget>& inUse, const std::vector<RemovalTarget>& targets,
                               const std::wstring& installFolder, bool ntFamily, RemovalObserver* observer);

// Lists each of `paths` for deletion at the restart, in order, by the name
// the system will know it by then (AsNamedAtBoot), which each becomes; the
// system's error for the first it refuses, ERROR_SUCCESS when it took all.
DWORD ListAllForRestart(std::vector<std::wstring>& paths);

// Whether a path listed for the restart (by its name at boot) is listed where
// it is, outside the folder `aside` (empty: none was made) that files in use
// were moved into: a reinstall before the restart puts its own file there,
// and loses it then.
bool ListedWhereItIs(const std::wstring& listed, const std::wstring& aside);

// Why the system would not take an entry for the restart, for the user.
std::wstring RestartRefusal(DWORD error);

// For /WHATIF: a line for each file or folder in use that the removal would
// leave for the restart, and for each one an earlier run already left; or one
// line saying that nothing is in use.
std::vector<std::wstring> ListWhatWouldGoAtRestart(const std::vector<RemovalTarget>& targets, bool ntFamily);

}  // namespace qvn
