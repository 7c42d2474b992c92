#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "services/HeldTree.h"
#include "services/NtFileApi.h"

namespace qvn {

// A folder the commit could not remove, and why. Every folder above it, up
// to its target, stays too.
struct FolderLeft {
  std::size_t entry;
  // What nobody claimed was found in it: entries added meanwhile (an updater
  // writing a new Quorvane.exe), by name. Empty where a name another program
  // holds open with delete sharing lingered past the wait instead.
  std::vector<std::wstring> added;
  nt::Status status;  // the folder's refusal of its mark
};

// Carries the marks out: closes the handle of every marked file and link of
// the tree, and they go. After it no mark is held.
void CloseMarked(HeldTree& tree);

// Then removes the folders of the target whose entry is `root`, deepest
// first, each marked once what was in it has gone. A folder that keeps
// something (an entry in use, one whose mark was refused) stays, and so does
// each folder above it. A folder that will not go, still holding a name
// another program holds with delete sharing, is waited for briefly (the name
// goes when that program lets go); one that still will not, or that holds
// what nobody claimed, is left and answered, with every folder above it.
std::vector<FolderLeft> RemoveFolders(HeldTree& tree, std::size_t root);

}  // namespace qvn
