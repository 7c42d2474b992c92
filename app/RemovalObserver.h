#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "services/ClosePrograms.h"
#include "services/HeldTree.h"
#include "services/PlatformTypes.h"

namespace qvn {

// What became of one step of the removal.
struct StepReport {
  // AtRestart: the target stays in use and goes at the next restart, with
  // nothing else of it to remove now.
  enum class Outcome { Removed, NotPresent, Refused, Failed, AtRestart };
  int number;          // 1 for the first step of the plan
  std::wstring target; // the file, folder or registry key
  Outcome outcome;
  std::wstring detail; // why refused; the failure's number and description;
                       // of a removal, what it left for the restart
};

// A folder that a run which stopped half way (a crash, a power cut) left
// beside the install folder, holding what it had moved aside and not yet
// listed for the restart.
struct LeftoverReport {
  // Removed: nothing in it was in use. LeftForRestart: something was, and
  // everything in it is listed for the restart. NotFinished: neither could be
  // done, for `detail`.
  enum class Outcome { Removed, LeftForRestart, NotFinished };
  std::wstring folder;
  Outcome outcome;
  std::wstring detail;
};

// How far a long removal has come, for a window to show.
struct RemovalProgress {
  enum class Phase { Checking, Removing };
  Phase phase;
  std::size_t done;   // entries claimed (Checking) or removed (Removing) so far
  std::size_t total;  // of how many; 0 while not yet known
};

// Told of each step as it ends; the steps themselves know nothing of who
// listens (a log, a count of what was removed).
class RemovalObserver {
 public:
  virtual ~RemovalObserver() = default;
  virtual void StepDone(const StepReport& report) = 0;
  // A folder link inside the targets, taken away by itself, never followed.
  virtual void LinkRemoved(const std::wstring& link) = 0;
  // More files and folders than are held at once: the removal checks, then
  // removes, one folder at a time.
  virtual void RemovingInParts(std::size_t /*ceiling*/) {}
  // A folder the removal could not take away when its turn came, left for
  // the restart with what is in it: another program added to it meanwhile,
  // or still held a name in it.
  virtual void FolderLeftForRestart(const std::wstring& /*folder*/, bool /*addedTo*/) {}
  // Running programs inside the targets asked to close, after the wait for them.
  virtual void ProgramsAskedToClose(const std::vector<CloseOutcome>& outcomes) = 0;
  // What stays in use, left for the restart before anything is removed: a
  // file moved out of the way, and each path the system is to delete then,
  // `whereItIs` when it was not moved aside first.
  virtual void MovedAside(const std::wstring& /*from*/, const std::wstring& /*to*/) {}
  virtual void PendingAtRestart(const std::wstring& /*path*/, bool /*whereItIs*/) {}
  // 95/98/ME delete no folder at restart: this one may remain, empty.
  virtual void FolderMayRemain(const std::wstring& /*folder*/) {}
  // Leaving what is in use for the restart was asked for and refused.
  virtual void RestartRefused(const std::wstring& /*why*/) {}
  // A folder of what a run moved aside, found unfinished beside the install
  // folder before step 1, and what became of it.
  virtual void InterruptedRunFinished(const LeftoverReport& /*report*/) {}
  // The install folder's link, taken away by itself once the folder it leads
  // to was removed (`error` 0), or left where it was (the system's error).
  virtual void LinkRemovedAfterItsFolder(const std::wstring& /*link*/, DWORD /*error*/) {}
  // Called every few hundred entries while the removal claims, marks or
  // removes, and when each phase ends: a window keeps itself alive here
  // (paints, answers sent messages) and shows how far it has come.
  virtual void Working(const RemovalProgress& /*progress*/) {}
  // True from the first delete mark set until the last one is carried out
  // or undone: ending the process meanwhile would carry out every mark.
  virtual void MarksHeld(bool /*held*/) {}
};

struct RemovalOptions {
  RemovalObserver* observer = nullptr;
  // No message box for a registry failure: an unattended run shows nothing,
  // its observer keeps the record instead.
  bool quiet = false;
  // What stays in use until the restart (files and the folders that hold
  // them), spelled as the walk of the targets spells it: the removal goes
  // around it and takes everything else.
  std::vector<std::wstring> staying;
  // NT family: the most files and folders held at once; above it the
  // removal goes one folder at a time.
  std::size_t ceiling = kHeldEntriesCeiling;
  // How many files and folders each file or folder of the plan is, itself
  // and all it holds, in the plan's order, as the check counted them: what
  // the removal's progress counts. Without them each counts as one.
  std::vector<std::size_t> entries = {};
};

}  // namespace qvn
