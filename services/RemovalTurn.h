#pragma once
#include "services/PlatformTypes.h"
#include "services/UniqueHandle.h"

namespace qvn {

// Gives back a mutex this thread owns, then closes it.
struct ReleaseOwnedMutex {
  void operator()(HANDLE mutex) const;
};

// A named mutex this thread owns: released and closed when it goes.
using OwnedMutex = UniqueHandle<HANDLE, ReleaseOwnedMutex>;

// The machine's one turn to remove Quorvane. Two removals at once fail each
// other half way: one's in-use check opens files without sharing while the
// other deletes them. The turn is a named mutex that the run removing owns
// from its start to its end.
struct RemovalTurn {
  OwnedMutex mutex;  // owned while this run has the turn; empty when another run has it
  // The run that had the turn before ended without giving it back: it
  // crashed or was ended, and may have left its removal unfinished.
  bool afterEndedRun = false;

  bool Taken() const { return static_cast<bool>(mutex); }
};

// The mutex's name, "QvnRemove.RemovingQuorvane": ASCII, with no backslash
// after a prefix. Windows 2000 and later put "Global\" before it, so that a
// run of the system account (a deployment agent's) and a user's run in
// another session see each other; NT 4.0 and 95/98/ME know no prefix.
inline const char kRemovalTurnName[] = "QvnRemove.RemovingQuorvane";

// Asks for the turn without waiting: the mutex is made, or opened when it is
// there, with no owner, and owned at once or not at all. A mutex made by a
// run of another account (the system's, which other users may not open in
// full) refuses with access denied: when it can then be opened to wait on,
// or refuses that too, it is there and its run has the turn. A global name
// refused with no such mutex there (from XP SP2 on, a user without the right
// to make global objects) falls back to the session's own name, which only
// that session's runs see. Raises Failure when the system gives no mutex at
// all.
RemovalTurn TakeRemovalTurn();

}  // namespace qvn
