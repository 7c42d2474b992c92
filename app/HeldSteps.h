#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "app/RemovalObserver.h"
#include "app/RemovalPlan.h"
#include "app/RemoveWhenNotInUse.h"
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

// What became of one of the plan's file targets, by its place among them.
struct TargetFate {
  bool present = false;           // claimed, in one tree or in parts
  bool anyRemoved = false;
  bool anyStays = false;          // in use, moved aside for the restart, or kept
  std::size_t sameAs = kNoEntry;  // the earlier target it is another name of
};

// Adds what became of the entries of the target `root` after its commit.
void AddFate(TargetFate& fate, const HeldTree& tree, std::size_t root);

// The report of the step of the plan's file target `target`, for a failure
// met on its way.
StepReport ReportOfTarget(const RemovalPlan& plan, std::size_t target);

// Runs the registry steps and tells the observer each step's outcome, in the
// plan's order, the file targets' from `fates`; where the install folder is
// the folder a link leads to, the link goes by itself right after its step.
void FinishSteps(const RemovalPlan& plan, const std::vector<TargetFate>& fates, const RemovalOptions& options);

// Asks about what is in use (the first entry is named, with the programs
// running from the targets); the programs found are asked to close here,
// when that is the answer, listed again as it comes.
InUseAnswer AskAboutInUse(const std::vector<RemovalTarget>& inUse, const std::vector<RemovalTarget>& targets,
                          const std::wstring& restartRefusal, const AskWhenInUse& ask, RemovalObserver* observer);

}  // namespace qvn
