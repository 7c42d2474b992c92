#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "services/HeldTree.h"

namespace qvn {

// A file or folder to claim, by its full path.
struct ClaimTarget {
  std::wstring path;
  bool isFolder;
  bool itselfOnly = false;  // a folder claimed without what is in it: a removal in parts ends with it
  bool exactName = false;   // named as a listing gave it: opened by its "\\?\" path, which no rule rewrites
};

struct ClaimResult {
  // Per target, in the order given: its entry; kNoEntry when it is not there
  // (or is not of the kind asked for), or is another name of an earlier one.
  std::vector<std::size_t> roots;
  // Per target: the earlier target (by its place in the list) that it is
  // another name of, by volume serial number and file index (on Vista, the
  // shortcut through C:\Documents and Settings and through C:\Users\Public);
  // kNoEntry when it is none.
  std::vector<std::size_t> sameAs;
  // The entries refused for being held elsewhere without delete sharing, in
  // the order met. A folder among them is listed all the same, where it can
  // be, so that what is in it is claimed.
  std::vector<std::size_t> inUse;
  // Entries listed as links that the open handle does not show to be one
  // (Wine shows a host symbolic link as the folder it leads to): never
  // entered and never marked, since nothing can remove them by themselves.
  std::vector<std::wstring> unconfirmedLinks;
  // More entries than `ceiling`, or than the system has room to hold open:
  // the claim stopped, and released everything.
  bool overCeiling = false;
};

// Claims the targets and, of each folder, everything in it, into `tree`: each
// entry held open for deletion, sharing everything (see HeldTree.h for the
// rules and the status table). Nothing is changed. Raises Failure naming the
// entry, with everything released, for what forbids the removal: access
// denied, a folder that cannot be listed (its contents could not be
// checked), an entry swapped for another kind twice, any other status.
ClaimResult ClaimTargets(HeldTree& tree, const std::vector<ClaimTarget>& targets,
                         std::size_t ceiling = kHeldEntriesCeiling);

}  // namespace qvn
