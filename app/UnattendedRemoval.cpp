#include "app/UnattendedRemoval.h"

#include "app/InitToolState.h"
#include "app/RelayingObserver.h"
#include "app/RemoveWhenNotInUse.h"
#include "services/SystemRestart.h"

namespace qvn {
namespace {

// Counts what the removal took away, and passes every event on to the log.
class Tally : public RelayingObserver {
 public:
  explicit Tally(RemovalLog* log) : RelayingObserver(log) {}
  void StepDone(const StepReport& report) override {
    if (report.outcome == StepReport::Outcome::Removed) removed = true;
    if (report.outcome == StepReport::Outcome::Failed) failed = true;
    RelayingObserver::StepDone(report);
  }
  // Listed for the restart by this run: the restart finishes the removal.
  void PendingAtRestart(const std::wstring& path, bool whereItIs) override {
    removed = true;
    RelayingObserver::PendingAtRestart(path, whereItIs);
  }
  // What an interrupted run left counts as Quorvane's: removed is removed,
  // and what cannot be finished fails the run once the rest is done.
  void InterruptedRunFinished(const LeftoverReport& report) override {
    if (report.outcome == LeftoverReport::Outcome::Removed) removed = true;
    if (report.outcome == LeftoverReport::Outcome::NotFinished) failed = true;
    RelayingObserver::InterruptedRunFinished(report);
  }
  // A link left in place (LinkRemovedAfterItsFolder) still counts as a
  // success: everything of Quorvane's is gone, and the log names the link.
  bool removed = false;
  // A step that went on past its failure (a registry key), or what an
  // interrupted run left that could not be finished.
  bool failed = false;
};

// Whether the system took the restart request; a system without the restart
// function refuses it like any other.
bool Restart(bool ntFamily) {
  try {
    return RequestSystemRestart(ntFamily);
  } catch (const Failure&) {
    return false;
  }
}

}  // namespace

UnattendedStart StartUnattended() {
  UnattendedStart start;
  try {
    start.found = InitToolState(start.state);
    start.plan = PlanRemoval(start.state);
  } catch (const Failure& failure) {
    start.failure = failure;
  }
  return start;
}

RunEnding RunUnattended(UnattendedStart& start, const CommandLine& line, RemovalLog* log) {
  RunEnding ending;
  ending.unattended = true;
  const auto stopped = [&](const Failure& failure) {
    if (log != nullptr) log->Stopped(failure);
    ending.kind = RunEnding::Kind::Failed;
    return ending;
  };
  if (start.failure) return stopped(*start.failure);
  ToolState& state = start.state;
  Tally tally(log);
  try {
    if (log != nullptr) log->Found(start.found);
    const RemovalPlan& plan = start.plan;
    if (log != nullptr) log->Planned(plan);
    // With /CLOSEAPPLICATIONS the programs found are asked to close once;
    // with /REMOVEATRESTART what is still in use is then left for the
    // restart, once; whatever stops the removal after that ends the run.
    bool closingAsked = false;
    bool restartAsked = false;
    const auto decide = [&](const InUse& found) {
      if (log != nullptr) log->FileInUse(found.path);
      if (line.closePrograms && !closingAsked && !found.programs.empty()) {
        closingAsked = true;
        return InUseAnswer::ClosePrograms;
      }
      if (line.removeAtRestart && !restartAsked) {
        restartAsked = true;
        return InUseAnswer::RemoveAtRestart;
      }
      return InUseAnswer::Cancel;
    };
    if (!RemoveWhenNotInUse(state, plan, decide, {&tally, /*quiet=*/true, {}})) {
      if (log != nullptr) log->GaveUpInUse();
      ending.kind = RunEnding::Kind::FileInUse;
      return ending;
    }
  } catch (const Failure& failure) {
    return stopped(failure);
  }
  ending.anythingRemoved = tally.removed;
  if (tally.failed) ending.kind = RunEnding::Kind::Failed;
  state.FileSys.reset();
  // Only a removal that took something away and ran to its end needs the
  // restart: run at every start-up, anything else would restart for ever.
  if (line.restart && ending.anythingRemoved && ending.kind == RunEnding::Kind::Finished) {
    ending.restartStarted = Restart(state.VersionInfo.dwPlatformId == VER_PLATFORM_WIN32_NT);
    if (log != nullptr) log->RestartRequested(ending.restartStarted);
  }
  return ending;
}

}  // namespace qvn
