#include "app/HeldSteps.h"

#include "app/InstallFolderLink.h"
#include "app/LeaveHeldForRestart.h"
#include "app/ProgramsInTargets.h"
#include "app/RemoveAtRestart.h"
#include "app/RunRemoval.h"
#include "services/AutomationError.h"
#include "services/Concat.h"
#include "services/DecimalText.h"
#include "services/DeleteAtRestart.h"

namespace qvn {
namespace {

using State = HeldEntry::State;
using Outcome = StepReport::Outcome;

}  // namespace

void ProgressToObserver::Reached(Phase phase, std::size_t done, std::size_t total) {
  if (observer_ == nullptr) return;
  const auto shown = phase == Phase::Checking ? RemovalProgress::Phase::Checking : RemovalProgress::Phase::Removing;
  observer_->Working({shown, done, total});
}

void ProgressToObserver::MarksHeld(bool held) {
  if (observer_ != nullptr) observer_->MarksHeld(held);
}

std::vector<ClaimTarget> ClaimTargetsOf(const std::vector<RemovalTarget>& targets) {
  std::vector<ClaimTarget> claimed;
  for (const RemovalTarget& target : targets) claimed.push_back({target.path, target.isFolder});
  return claimed;
}

std::vector<RemovalTarget> AsTargets(const HeldTree& tree, const std::vector<std::size_t>& entries) {
  std::vector<RemovalTarget> targets;
  for (std::size_t entry : entries) targets.push_back({tree.PathOf(entry), tree.entries[entry].isFolder});
  return targets;
}

std::vector<std::size_t> NotYetLeft(const HeldTree& tree, const std::vector<std::size_t>& inUse) {
  const std::vector<RemovalTarget> pending = AlreadyPendingAtRestart(AsTargets(tree, inUse), true);
  std::vector<std::size_t> blocking;
  for (std::size_t entry : inUse) {
    const std::wstring path = tree.PathOf(entry);
    bool left = false;
    for (const RemovalTarget& listed : pending) left = left || listed.path == path;
    if (!left) blocking.push_back(entry);
  }
  return blocking;
}

void StopAtUnconfirmedLinks(const std::vector<std::wstring>& links) {
  if (links.empty()) return;
  throw SystemErrorFailure(ERROR_ACCESS_DENIED, L"A folder link cannot be removed without following it, so nothing of "
                                              L"Quorvane has been removed")
      .WithItem(links.front());
}

void TellLinksRemoved(const HeldTree& tree, RemovalObserver* observer) {
  if (observer == nullptr) return;
  for (std::size_t at = 0; at < tree.entries.size(); ++at) {
    if (tree.entries[at].isLink && tree.entries[at].state == State::Removed) observer->LinkRemoved(tree.PathOf(at));
  }
}

void LeaveFoldersForRestart(const HeldTree& tree, std::size_t root, const std::vector<FolderLeft>& left,
                            StepReport& report, RemovalObserver* observer) {
  if (left.empty()) return;
  std::vector<std::wstring> listed;
  std::vector<bool> above(tree.entries.size(), false);
  for (const FolderLeft& folder : left) {
    const std::wstring path = tree.PathOf(folder.entry);
    if (observer != nullptr) observer->FolderLeftForRestart(path, !folder.added.empty());
    for (const std::wstring& name : folder.added) listed.push_back(Concat({path, L"\\", name}));
    listed.push_back(path);
    for (std::size_t at = tree.entries[folder.entry].parent; at != kNoEntry; at = tree.entries[at].parent) {
      above[at] = true;
    }
  }
  // Deepest first: each folder was claimed after the folder above it.
  for (std::size_t at = above.size(); at-- > root;) {
    if (above[at]) listed.push_back(tree.PathOf(at));
  }
  for (const std::wstring& path : listed) {
    const std::wstring named = AsNamedAtBoot(path);
    const DWORD error = ScheduleDeletionAtRestart(LongForm(named));
    if (error != ERROR_SUCCESS) {
      report.outcome = Outcome::Failed;
      report.detail = RestartRefusal(error);
      if (observer != nullptr) observer->StepDone(report);
      throw SystemErrorFailure(error, Concat({L"Another program added to this folder or held a file in it while it was "
                                              L"removed, and ",
                                              RestartRefusal(error)}))
          .WithItem(tree.PathOf(left.front().entry));
    }
    if (observer != nullptr) observer->PendingAtRestart(named, /*whereItIs=*/true);
  }
}

void AddFate(TargetFate& fate, const HeldTree& tree, std::size_t root) {
  fate.present = true;
  for (std::size_t at = root; at < tree.entries.size(); ++at) {
    const HeldEntry& entry = tree.entries[at];
    if (entry.target != root) continue;
    if (entry.state == State::Removed) {
      fate.anyRemoved = true;
    } else {
      fate.anyStays = true;
    }
  }
}

StepReport ReportOfTarget(const RemovalPlan& plan, std::size_t target) {
  std::size_t at = 0;
  int number = 0;
  for (const RemovalStep& step : plan.steps) {
    ++number;
    if (step.kind == RemovalStep::Kind::RegistryKey || step.skipped) continue;
    if (at++ == target) return {number, step.target, Outcome::NotPresent, L""};
  }
  return {number, L"", Outcome::NotPresent, L""};
}

namespace {

void SetOutcome(StepReport& report, const TargetFate& fate) {
  if (!fate.present) return;
  if (!fate.anyStays) {
    report.outcome = Outcome::Removed;
    return;
  }
  report.outcome = fate.anyRemoved ? Outcome::Removed : Outcome::AtRestart;
  report.detail = std::wstring(L"what is in use goes at restart");  // moved in: no general replace
}

}  // namespace

void FinishSteps(const RemovalPlan& plan, const std::vector<TargetFate>& fates, const RemovalOptions& options) {
  std::size_t target = 0;
  int number = 0;
  for (const RemovalStep& step : plan.steps) {
    ++number;
    StepReport report{number, step.target, Outcome::NotPresent, L""};
    if (step.kind == RemovalStep::Kind::RegistryKey || step.skipped) {
      report = RunStepWithoutFiles(step, number, options.quiet);
    } else if (const TargetFate& fate = fates[target++]; fate.sameAs != kNoEntry) {
      SetOutcome(report, fates[fate.sameAs]);
      report.detail = Concat({L"another name of step ", DecimalText(ReportOfTarget(plan, fate.sameAs).number)});
    } else {
      SetOutcome(report, fate);
    }
    if (options.observer != nullptr) options.observer->StepDone(report);
    if (!step.linkAfter.empty()) RemoveLinkAfterItsFolder(step.linkAfter, options.observer);
  }
}

InUseAnswer AskAboutInUse(const std::vector<RemovalTarget>& inUse, const std::vector<RemovalTarget>& targets,
                          const std::wstring& restartRefusal, const AskWhenInUse& ask, RemovalObserver* observer) {
  const InUse found{inUse.front().path, ProgramsInTargets(targets, true), restartRefusal};
  const InUseAnswer answer = ask(found);
  // Listed again as the answer comes: a program may have ended while the
  // prompt showed, and its process number gone to another program.
  if (answer == InUseAnswer::ClosePrograms) ClosePrograms(ProgramsInTargets(targets, true), observer);
  return answer;
}

}  // namespace qvn
