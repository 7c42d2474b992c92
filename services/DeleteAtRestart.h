#pragma once
#include <string>
#include <vector>

#include "services/PlatformTypes.h"

namespace qvn {

// Deletion at the next restart on the NT family (NT 4.0 included): the
// system keeps the list in the registry value PendingFileRenameOperations
// of HKLM\SYSTEM\CurrentControlSet\Control\Session Manager and carries it
// out early in its next start, before any program can hold a file. Both
// calls are bound on the NT family only.

// Asks the system to delete `path` at the next restart; the system's error
// when it cannot (ERROR_ACCESS_DENIED without administrator rights),
// ERROR_SUCCESS when it is listed. A folder goes then only if it is empty by
// then, so its files must be listed before it. The system does not look at
// the path now, nor at what is listed already: a path listed twice is
// listed twice.
DWORD ScheduleDeletionAtRestart(const std::wstring& path);

// The full paths the system will delete at the next restart, in its order,
// as they were listed (without the "\??\" the system puts before them), read
// by their wide names so that a name outside the system's code page comes
// back whole. Renames at restart are left out. The second list that later
// systems keep beside the first (PendingFileRenameOperations2) is read too.
// Nothing when nothing is listed or the lists cannot be read.
std::vector<std::wstring> DeletionsPendingAtRestart();

}  // namespace qvn
