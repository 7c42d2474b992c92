#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "app/RemovalObserver.h"
#include "app/RemoveAtRestart.h"
#include "services/HeldTree.h"

namespace qvn {

// What stays in use is left for the restart while the tree still holds
// every entry and before anything is committed, so that the rest can go now
// and nothing is ever half removed. NT family.
//
// Each file whose mark was refused (`refused`: a running program, a loaded
// library) is renamed through the handle the claim holds into a new folder
// beside `installFolder`, on the same volume: renaming by its path would
// collide with the claim's own handle. What was refused at the claim
// (`inUse`), or cannot be renamed, stays where it is. The system is then
// asked to delete, at the next restart, the renamed files, what stays where
// it is (files first, by "\\?\" paths, so that a name such as aux.txt is not
// read as a device), the folders that keep something, deepest first, and the
// folder aside. If it refuses any of it, what was renamed goes back and the
// answer says why; a file that cannot go back raises Failure saying where
// it is. Every move and entry listed goes to `observer` once all is done.
LeftForRestart LeaveHeldForRestart(HeldTree& tree, const std::vector<std::size_t>& inUse,
                                   const std::vector<std::size_t>& refused, const std::wstring& installFolder,
                                   RemovalObserver* observer);

// `path` as a "\\?\" path, which the system reads as it stands.
std::wstring LongForm(const std::wstring& path);

}  // namespace qvn
