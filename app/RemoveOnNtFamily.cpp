#include "app/RemoveOnNtFamily.h"

#include "app/HeldSteps.h"
#include "app/InterruptedRuns.h"
#include "app/LeaveHeldForRestart.h"
#include "app/RemovalTargets.h"
#include "app/RemoveInParts.h"
#include "services/MarkTree.h"

namespace qvn {
namespace {

// What one attempt at the removal came to.
struct Attempt {
  enum class End { Removed, InUse, RestartRefused, OverCeiling };
  End end = End::Removed;
  std::vector<RemovalTarget> inUse;  // what stops it, in the order met
  std::wstring refusal;              // why the restart would not take what is in use
};

Attempt Stopped(Attempt::End end, const HeldTree& tree, const std::vector<std::size_t>& inUse, std::wstring refusal = {}) {
  return {end, AsTargets(tree, inUse), std::move(refusal)};
}

std::vector<std::size_t> Both(std::vector<std::size_t> first, const std::vector<std::size_t>& second) {
  for (std::size_t entry : second) first.push_back(entry);
  return first;
}

// Once every mark is set and what stays is decided: the files go first, all
// of them at once, so that no mark is held while a folder's lingering name
// is waited for; then each target's folders in the plan's order, then the
// registry steps, each step told in its order.
void Commit(HeldTree& tree, const ClaimResult& claim, const RemovalPlan& plan, const RemovalOptions& options) {
  CloseMarked(tree);
  TellLinksRemoved(tree, options.observer);
  std::vector<TargetFate> fates(claim.roots.size());
  for (std::size_t target = 0; target < fates.size(); ++target) {
    fates[target].sameAs = claim.sameAs[target];
    const std::size_t root = claim.roots[target];
    if (root == kNoEntry) continue;
    if (tree.entries[root].isFolder) {
      StepReport report = ReportOfTarget(plan, target);
      LeaveFoldersForRestart(tree, root, RemoveFolders(tree, root), report, options.observer);
    }
    AddFate(fates[target], tree, root);
  }
  tree.removal.End();
  FinishSteps(plan, fates, options);
}

// Claims everything, marks every file, and commits, unless something stops
// it first; whatever stops it releases every handle and undoes every mark
// (the tree goes with this call) before anyone is asked anything.
Attempt TryOnce(const ToolState& state, const RemovalPlan& plan, const std::vector<RemovalTarget>& targets,
                bool leaveForRestart, const RemovalOptions& options, WorkProgress& progress) {
  HeldTree tree(state.VersionInfo.dwMajorVersion >= 5, &progress);
  const ClaimResult claim = ClaimTargets(tree, ClaimTargetsOf(targets), options.ceiling);
  if (claim.overCeiling) return {Attempt::End::OverCeiling, {}, {}};
  const std::vector<std::size_t> inUse = NotYetLeft(tree, claim.inUse);
  if (!inUse.empty() && !leaveForRestart) return Stopped(Attempt::End::InUse, tree, inUse);
  StopAtUnconfirmedLinks(claim.unconfirmedLinks);
  // Before any mark is set, since finishing them takes a while.
  FinishInterruptedRuns(state, plan, options.observer);
  const std::vector<std::size_t> refused = NotYetLeft(tree, MarkTree(tree));
  if (!refused.empty() && !leaveForRestart) return Stopped(Attempt::End::InUse, tree, refused);
  if (!inUse.empty() || !refused.empty()) {
    const LeftForRestart left =
        LeaveHeldForRestart(tree, inUse, refused, plan.installFolder.folder.value_or(L""), options.observer);
    if (!left.done) return Stopped(Attempt::End::RestartRefused, tree, Both(inUse, refused), left.refusal);
  }
  Commit(tree, claim, plan, options);
  return {};
}

}  // namespace

bool RemoveOnNtFamily(ToolState& state, const RemovalPlan& plan, const AskWhenInUse& ask,
                      const RemovalOptions& options) {
  const std::vector<RemovalTarget> targets = RemovalTargets(plan);
  ProgressToObserver progress(options.observer);
  std::wstring restartRefusal;
  bool leaveForRestart = false;
  for (;;) {
    const Attempt attempt = TryOnce(state, plan, targets, leaveForRestart, options, progress);
    if (attempt.end == Attempt::End::Removed) return true;
    if (attempt.end == Attempt::End::OverCeiling) return RemoveInParts(state, plan, ask, options);
    if (attempt.end == Attempt::End::RestartRefused) {
      restartRefusal = attempt.refusal;
      if (options.observer != nullptr) options.observer->RestartRefused(restartRefusal);
    }
    const InUseAnswer answer = AskAboutInUse(attempt.inUse, targets, restartRefusal, ask, options.observer);
    if (answer == InUseAnswer::Cancel) return false;
    leaveForRestart = answer == InUseAnswer::RemoveAtRestart;
  }
}

}  // namespace qvn
