#include "app/RemoveInParts.h"

#include <limits>

#include "app/HeldSteps.h"
#include "app/InterruptedRuns.h"
#include "app/RemovalTargets.h"
#include "app/RemoveAtRestart.h"
#include "services/AutomationError.h"
#include "services/Concat.h"
#include "services/MarkTree.h"
#include "services/NtFileCalls.h"
#include "services/SameText.h"

namespace qvn {
namespace {

using Outcome = StepReport::Outcome;

// A part is claimed whole, however it has grown since it was measured.
constexpr std::size_t kWhole = std::numeric_limits<std::size_t>::max();

struct Part {
  ClaimTarget claim;
  std::size_t target;  // the plan's target it belongs to, by its place
};

class InParts {
 public:
  InParts(const ToolState& state, const RemovalOptions& options)
      : reparsePoints_(state.VersionInfo.dwMajorVersion >= 5), options_(options), progress_(options.observer) {}

  // Together the targets proved too large: each folder target is split at
  // once, each file is a part of its own. The check splits again what proves
  // too large.
  void Start(const std::vector<RemovalTarget>& targets) {
    for (std::size_t at = 0; at < targets.size(); ++at) {
      const Part part{{targets[at].path, targets[at].isFolder}, at};
      if (part.claim.isFolder) {
        AddPartsOf(part, parts_);
      } else {
        parts_.push_back(part);
      }
    }
    targetCount_ = targets.size();
  }

  // Each part claimed and its files marked, then all undone: what is in use
  // (not already left for the restart by an earlier run), in the order met.
  // A part with more entries than are held at once is split first.
  std::vector<RemovalTarget> Check() {
    std::vector<RemovalTarget> inUse;
    links_.clear();
    alreadyLeft_.clear();
    for (std::size_t at = 0; at < parts_.size();) {
      HeldTree tree(reparsePoints_, &progress_);
      const ClaimResult claim = ClaimTargets(tree, {parts_[at].claim}, options_.ceiling);
      if (claim.overCeiling) {
        if (!parts_[at].claim.isFolder || parts_[at].claim.itselfOnly) OutOfRoom(parts_[at].claim.path);
        Split(at);
        continue;
      }
      for (const std::wstring& link : claim.unconfirmedLinks) links_.push_back(link);
      Sort(tree, claim.inUse, inUse);
      Sort(tree, MarkTree(tree), inUse);
      ++at;
    }
    return inUse;
  }

  // What an earlier run left for the restart: in use still, it stays.
  const std::vector<std::wstring>& AlreadyLeft() const { return alreadyLeft_; }

  void StopAtLinks() const { StopAtUnconfirmedLinks(links_); }

  // Each part in turn claimed, marked and committed; what stays is gone
  // around. Answers what became of each target.
  std::vector<TargetFate> Remove(const RemovalPlan& plan, const std::vector<std::wstring>& staying) {
    std::vector<TargetFate> fates(targetCount_);
    for (const Part& part : parts_) {
      HeldTree tree(reparsePoints_, &progress_);
      const ClaimResult claim = ClaimTargets(tree, {part.claim}, kWhole);
      if (claim.overCeiling) OutOfRoom(part.claim.path);
      StopAtNewlyInUse(tree, plan, part, claim.inUse, staying);
      StopAtNewlyInUse(tree, plan, part, MarkTree(tree), staying);
      const std::size_t root = claim.roots.front();
      if (root == kNoEntry) continue;
      if (part.claim.itselfOnly && Holds(part.claim.path, staying)) tree.entries[root].state = HeldEntry::State::Kept;
      CloseMarked(tree);
      TellLinksRemoved(tree, options_.observer);
      if (part.claim.isFolder) {
        StepReport report = ReportOfTarget(plan, part.target);
        LeaveFoldersForRestart(tree, root, RemoveFolders(tree, root), report, options_.observer);
      }
      tree.removal.End();
      AddFate(fates[part.target], tree, root);
    }
    return fates;
  }

 private:
  // A folder too large gives, in its place, its parts.
  void Split(std::size_t at) {
    std::vector<Part> parts;
    for (std::size_t before = 0; before < at; ++before) parts.push_back(parts_[before]);
    AddPartsOf(parts_[at], parts);
    for (std::size_t after = at + 1; after < parts_.size(); ++after) parts.push_back(parts_[after]);
    parts_ = std::move(parts);
  }

  // A folder's parts: one for each entry in it (each checked, and split, in
  // its turn), then one for the folder itself.
  void AddPartsOf(const Part& folder, std::vector<Part>& parts) {
    Part alone = folder;
    alone.claim.itselfOnly = true;
    HeldTree itself(reparsePoints_);
    const std::size_t root = ClaimTargets(itself, {alone.claim}, kWhole).roots.front();
    if (root != kNoEntry) {
      ListFolder(itself.entries[root].handle.Get(), buffer_, [&](const std::wstring& name, DWORD attributes) {
        ClaimTarget entry{Concat({folder.claim.path, L"\\", name}), (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0};
        entry.exactName = true;
        parts.push_back({entry, folder.target});
      });
    }
    parts.push_back(alone);
  }

  // Sorts the entries in use into those that stop the removal and those an
  // earlier run already left for the restart.
  void Sort(const HeldTree& tree, const std::vector<std::size_t>& entries, std::vector<RemovalTarget>& inUse) {
    const std::vector<std::size_t> blocking = NotYetLeft(tree, entries);
    for (std::size_t entry : entries) {
      bool blocks = false;
      for (std::size_t other : blocking) blocks = blocks || other == entry;
      if (blocks) {
        inUse.push_back({tree.PathOf(entry), tree.entries[entry].isFolder});
      } else {
        alreadyLeft_.push_back(tree.PathOf(entry));
      }
    }
  }

  static bool Holds(const std::wstring& folder, const std::vector<std::wstring>& staying) {
    for (const std::wstring& path : staying) {
      if (LiesInsideFolder(path, folder)) return true;
    }
    return false;
  }

  // The system has no room to hold even a part open.
  [[noreturn]] static void OutOfRoom(const std::wstring& path) {
    throw SystemErrorFailure(ERROR_NO_SYSTEM_RESOURCES, L"Windows has no room to hold its files open, so the removal "
                                                        L"stopped here; what came before it has been removed")
        .WithItem(path);
  }

  // What came into use after the check, and was not left for the restart,
  // stops the removal at its step: everything is released first.
  void StopAtNewlyInUse(HeldTree& tree, const RemovalPlan& plan, const Part& part,
                        const std::vector<std::size_t>& inUse, const std::vector<std::wstring>& staying) {
    for (std::size_t entry : inUse) {
      const std::wstring path = tree.PathOf(entry);
      bool stays = false;
      for (const std::wstring& known : staying) stays = stays || SameText(known, path);
      if (stays) continue;
      UndoMarks(tree);
      StepReport report = ReportOfTarget(plan, part.target);
      report.outcome = Outcome::Failed;
      report.detail = std::wstring(L"in use since the check");
      if (options_.observer != nullptr) options_.observer->StepDone(report);
      throw SystemErrorFailure(ERROR_SHARING_VIOLATION,
                               L"It came into use after the check, while the removal went one folder at a time; "
                               L"what came before it has been removed")
          .WithItem(path);
    }
  }

  bool reparsePoints_;
  const RemovalOptions& options_;
  ProgressToObserver progress_;
  std::vector<Part> parts_;
  std::size_t targetCount_ = 0;
  std::vector<std::wstring> links_;
  std::vector<std::wstring> alreadyLeft_;
  std::vector<std::uint64_t> buffer_;
};

}  // namespace

bool RemoveInParts(ToolState& state, const RemovalPlan& plan, const AskWhenInUse& ask, const RemovalOptions& options) {
  if (options.observer != nullptr) options.observer->RemovingInParts(options.ceiling);
  const std::vector<RemovalTarget> targets = RemovalTargets(plan);
  InParts parts(state, options);
  parts.Start(targets);
  std::vector<std::wstring> staying;
  std::wstring restartRefusal;
  for (;;) {
    const std::vector<RemovalTarget> inUse = parts.Check();
    staying.clear();
    if (inUse.empty()) break;
    const InUseAnswer answer = AskAboutInUse(inUse, targets, restartRefusal, ask, options.observer);
    if (answer == InUseAnswer::Cancel) return false;
    if (answer != InUseAnswer::RemoveAtRestart) continue;
    const LeftForRestart left =
        LeaveForRestart(inUse, targets, plan.installFolder.folder.value_or(L""), true, options.observer);
    if (left.done) {
      staying = left.staying;
      break;
    }
    restartRefusal = left.refusal;
    if (options.observer != nullptr) options.observer->RestartRefused(restartRefusal);
  }
  parts.StopAtLinks();
  FinishInterruptedRuns(state, plan, options.observer);
  // What an earlier run left for the restart is in use still, and stays.
  for (const std::wstring& path : parts.AlreadyLeft()) staying.push_back(path);
  FinishSteps(plan, parts.Remove(plan, staying), options);
  return true;
}

}  // namespace qvn
