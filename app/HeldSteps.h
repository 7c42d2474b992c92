#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "app/RemovalObserver.h"
#include "services/ClaimTree.h"
#include "services/CommitTree.h"
#include "services/FilesInUse.h"
#include "services/HeldTree.h"
#include "services/WorkProgress.h"

namespace qvn {

// What the removal by handles shares between its two ways, all at once and
// one folder at a time.

// Passes the removal's progress on to the observer, when there is one.
class ProgressToObserver : public WorkProgress {
 public:
  explicit ProgressToObserver(RemovalObserver* observer) : observer_(observer) {}
  void Reached(Phase phase, std::size_t done, std::size_t total) override;
  void MarksHeld(bool held) override;

 private:
  RemovalObserver* observer_;
};

std::vector<ClaimTarget> ClaimTargetsOf(const std::vector<RemovalTarget>& targets);

// Of the entries in use, those an earlier run has not already left for the
// restart: only these stop the removal.
std::vector<std::size_t> NotYetLeft(const HeldTree& tree, const std::vector<std::size_t>& inUse);

std::vector<RemovalTarget> AsTargets(const HeldTree& tree, const std::vector<std::size_t>& entries);

// A link the system shows as the folder it leads to (a host symbolic link
// under Wine) can be neither entered nor removed by itself: the removal
// stops there, with nothing removed, naming it.
void StopAtUnconfirmedLinks(const std::vector<std::wstring>& links);

// Tells the observer of each link the commit removed by itself.
void TellLinksRemoved(const HeldTree& tree, RemovalObserver* observer);

// Lists for the restart each folder the commit of `root` left, with what was
// added to it and the folders above it up to `root`, deepest first. When
// the system refuses, the step's report is made Failed, told, and a Failure
// naming the folder is raised.
void LeaveFoldersForRestart(const HeldTree& tree, std::size_t root, const std::vector<FolderLeft>& left,
                            StepReport& report, RemovalObserver* observer);

// What became of a target after its commit, from its entries.
struct TargetFate {
  bool anyRemoved = false;
  bool anyStays = false;  // in use, moved aside for the restart, or kept
};
TargetFate FateOf(const HeldTree& tree, std::size_t root);

// The step's outcome from what became of its target (or targets, in parts).
void SetOutcome(StepReport& report, const TargetFate& fate);

}  // namespace qvn
