#pragma once
#include <cstddef>
#include <vector>

#include "services/HeldTree.h"
#include "services/NtFileApi.h"

namespace qvn {

// Sets the delete mark on every held file and link of the tree, deepest
// first; folders are marked at the commit, once they are empty, since a
// folder still holding an entry refuses its mark. A read-only entry has the
// attribute taken off first (on Windows 10 1809 and later the mark ignores
// it), and put back after the mark where the file has other names, which
// share its attributes. Windows 10's form of the mark, which takes the name
// away as soon as the handle closes, is used where the system accepts it.
// Answers the entries that refused for a mapped view (a running program, a
// loaded library), marking the rest; any other refusal undoes every mark
// and raises Failure naming the entry and its status.
std::vector<std::size_t> MarkTree(HeldTree& tree);

// Marks one held entry as MarkTree does, a folder too; answers the status.
// On a refusal the entry is left as it was.
nt::Status MarkEntry(HeldTree& tree, HeldEntry& entry);

// Clears every mark still set and puts back the attributes taken off for
// them: nothing of the tree will go when its handles close. Never raises.
void UndoMarks(HeldTree& tree) noexcept;

}  // namespace qvn
