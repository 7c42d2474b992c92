#include "app/RunRemoval.h"

#include <algorithm>

#include "app/InstallFolderLink.h"
#include "services/AutomationError.h"
#include "services/Concat.h"
#include "services/DecimalText.h"
#include "services/DeletePath.h"
#include "services/DeleteRegKey.h"
#include "services/Failure.h"
#include "services/FileCalls.h"
#include "services/FilesInUse.h"
#include "services/SameText.h"

namespace qvn {
namespace {

using Outcome = StepReport::Outcome;

std::wstring Describe(const Failure& failure) {
  return Concat({L"error ", DecimalText(failure.Number()), L": ", failure.Description()});
}

// Tells the observer how far the removal has come, each file or folder of
// the plan counted as the entries the check found in it.
class RemovedCount {
 public:
  RemovedCount(RemovalObserver* observer, const std::vector<std::size_t>& entries)
      : observer_(observer), entries_(entries) {
    for (const std::size_t count : entries_) total_ += count;
  }

  // A file or folder of the plan has gone, with all it held.
  void TargetDone() {
    done_ += TargetEntries();
    ++target_;
    inTarget_ = 0;
    Tell(done_);
  }

  // An entry inside a target that goes entry by entry has gone.
  void EntryDone() {
    ++inTarget_;
    Tell(done_ + std::min(inTarget_, TargetEntries()));
  }

  void PhaseEnded() const { Tell(done_); }

 private:
  // How many the check found in the target being removed.
  std::size_t TargetEntries() const { return target_ < entries_.size() ? entries_[target_] : 1; }

  void Tell(std::size_t done) const {
    if (observer_ != nullptr) observer_->Working({RemovalProgress::Phase::Removing, done, total_});
  }

  RemovalObserver* observer_;
  const std::vector<std::size_t>& entries_;
  std::size_t total_ = 0;
  std::size_t done_ = 0;
  std::size_t target_ = 0;
  std::size_t inTarget_ = 0;
};

// Deletes a file or folder; a Failure is told to the observer and goes up
// naming the item.
StepReport DeleteNamedPath(AutomationObject& fileSys, const std::wstring& path, const std::wstring& kind,
                           StepReport report, RemovalObserver* observer) {
  report.target = path;
  try {
    report.outcome = DeletePath(fileSys, path, kind) ? Outcome::Removed : Outcome::NotPresent;
    return report;
  } catch (Failure& failure) {
    report.outcome = Outcome::Failed;
    report.detail = Describe(failure);
    if (observer != nullptr) observer->StepDone(report);
    throw failure.WithItem(path);
  }
}

// What stays in use until the restart, by the paths the walk gave.
class Staying {
 public:
  explicit Staying(const std::vector<std::wstring>& paths) : paths_(paths) {}

  bool Is(const std::wstring& path) const {
    for (const std::wstring& staying : paths_) {
      if (SameText(staying, path)) return true;
    }
    return false;
  }

  // Something that stays lies inside `folder`.
  bool IsInside(const std::wstring& folder) const {
    for (const std::wstring& staying : paths_) {
      if (LiesInsideFolder(staying, folder)) return true;
    }
    return false;
  }

  bool Touches(const std::wstring& path) const { return Is(path) || IsInside(path); }

 private:
  const std::vector<std::wstring>& paths_;
};

// Deletes what is in `folder` but the files that stay, entry by entry, going
// into the folders that stay or hold something that does; true when anything
// went. A Failure goes up as for any deletion.
bool DeleteAround(AutomationObject& fileSys, const FileCalls& files, const std::wstring& folder,
                  const Staying& staying, const StepReport& report, RemovalObserver* observer,
                  RemovedCount& count) {
  std::vector<RemovalTarget> entries;
  files.List(folder, [&](const std::wstring& name, DWORD attributes) {
    entries.push_back({Concat({folder, L"\\", name}), (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    return true;
  });
  bool removed = false;
  for (const auto& [path, isFolder] : entries) {
    if (isFolder && staying.Touches(path)) {
      removed = DeleteAround(fileSys, files, path, staying, report, observer, count) || removed;
    } else if (!staying.Is(path)) {
      const StepReport deleted = DeleteNamedPath(fileSys, path, isFolder ? L"folder" : L"file", report, observer);
      removed = deleted.outcome == Outcome::Removed || removed;
      count.EntryDone();
    }
  }
  return removed;
}

// A step whose target is, or holds, what stays until the restart: everything
// else of it goes now, the rest then.
StepReport RemoveAround(const RemovalStep& step, AutomationObject& fileSys, const Staying& staying, bool ntFamily,
                        StepReport report, RemovalObserver* observer, RemovedCount& count) {
  const bool removed = step.kind == RemovalStep::Kind::Folder &&
                       DeleteAround(fileSys, FileCalls(ntFamily), step.target, staying, report, observer, count);
  return {report.number, step.target, removed ? Outcome::Removed : Outcome::AtRestart,
          L"what is in use goes at restart"};
}

Outcome OutcomeOf(KeyDeletion::Result result) {
  switch (result) {
    case KeyDeletion::Result::Deleted:
      return Outcome::Removed;
    case KeyDeletion::Result::NotThere:
      return Outcome::NotPresent;
    case KeyDeletion::Result::SubkeysLeft:
      return Outcome::Refused;
    case KeyDeletion::Result::Refused:
    case KeyDeletion::Result::Failed:
      break;
  }
  return Outcome::Failed;
}

// Why a key deletion did not take the key away; empty when it did.
std::wstring DetailOf(const KeyDeletion& deletion) {
  switch (deletion.result) {
    case KeyDeletion::Result::SubkeysLeft:
      return L"subkeys are left below it";
    case KeyDeletion::Result::Refused:
      return Concat({deletion.failureDescription, L", registry error ", DecimalText(deletion.failureNumber)});
    case KeyDeletion::Result::Failed:
      return Describe(Failure(deletion.failureNumber, deletion.failureDescription));
    case KeyDeletion::Result::Deleted:
    case KeyDeletion::Result::NotThere:
      break;
  }
  return L"";
}

StepReport Perform(const RemovalStep& step, AutomationObject& fileSys, StepReport report,
                   const RemovalOptions& options, bool ntFamily, RemovedCount& count) {
  if (step.kind == RemovalStep::Kind::RegistryKey || step.skipped) {
    return RunStepWithoutFiles(step, report.number, options.quiet);
  }
  const Staying staying(options.staying);
  if (staying.Touches(step.target)) {
    return RemoveAround(step, fileSys, staying, ntFamily, report, options.observer, count);
  }
  return DeleteNamedPath(fileSys, step.target, PathKindText(step.kind), report, options.observer);
}

}  // namespace

StepReport RunStepWithoutFiles(const RemovalStep& step, int number, bool quiet) {
  StepReport report{number, step.target, Outcome::NotPresent, L""};
  if (step.kind == RemovalStep::Kind::RegistryKey) {
    report.target = KeyTarget(step);
    const KeyDeletion deletion = DeleteRegKey(step.target, step.subkey, quiet);
    report.outcome = OutcomeOf(deletion.result);
    report.detail = DetailOf(deletion);
    return report;
  }
  report.outcome = step.refusedByGuard ? Outcome::Refused : Outcome::NotPresent;
  report.detail = step.skipReason;
  return report;
}

void RunRemoval(ToolState& state, const RemovalPlan& plan, const RemovalOptions& options) {
  if (!state.FileSys) throw StandardFailure(ErrorNumber::ObjectNotSet);
  int number = 0;
  RemovedCount count(options.observer, options.entries);
  for (const RemovalStep& step : plan.steps) {
    const StepReport report = Perform(step, *state.FileSys, {++number, L"", Outcome::NotPresent, L""}, options,
                                      state.VersionInfo.dwPlatformId == VER_PLATFORM_WIN32_NT, count);
    if (options.observer != nullptr) options.observer->StepDone(report);
    if (!step.linkAfter.empty()) RemoveLinkAfterItsFolder(step.linkAfter, options.observer);
    if (step.kind != RemovalStep::Kind::RegistryKey && !step.skipped) count.TargetDone();
  }
  count.PhaseEnded();
}

}  // namespace qvn
