#include "app/RunRemoval.h"

#include "app/InstallFolderGuard.h"
#include "app/RemovalPlan.h"
#include "services/AutomationError.h"
#include "services/DecimalText.h"
#include "services/DeletePath.h"
#include "services/DeleteRegKey.h"
#include "services/Failure.h"

namespace qvn {
namespace {

using Outcome = StepReport::Outcome;

std::wstring Describe(const Failure& failure) {
  return L"error " + DecimalText(failure.Number()) + L": " + failure.Description();
}

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

Outcome OutcomeOf(KeyDeletion::Result result) {
  switch (result) {
    case KeyDeletion::Result::Deleted:
      return Outcome::Removed;
    case KeyDeletion::Result::NotThere:
      return Outcome::NotPresent;
    case KeyDeletion::Result::Refused:
      return Outcome::Refused;
    case KeyDeletion::Result::Failed:
      break;
  }
  return Outcome::Failed;
}

StepReport Perform(const RemovalStep& step, AutomationObject& fileSys, StepReport report,
                   const RemovalOptions& options) {
  switch (step.action) {
    case RemovalStep::Action::DeletePath:
      return DeleteNamedPath(fileSys, step.first, step.second, report, options.observer);
    case RemovalStep::Action::DeleteInstallFolder: {
      const InstallFolderDecision decision = DecideInstallFolder(step.first);
      if (decision.folder) return DeleteNamedPath(fileSys, *decision.folder, step.second, report, options.observer);
      report.target = step.first;
      report.outcome = decision.refusedByGuard ? Outcome::Refused : Outcome::NotPresent;
      report.detail = decision.refusal;
      return report;
    }
    case RemovalStep::Action::DeleteRegKey: {
      report.target = L"HKEY_LOCAL_MACHINE\\" + step.first + (step.second.empty() ? L"" : L"\\" + step.second);
      const KeyDeletion deletion = DeleteRegKey(step.first, step.second, options.quiet);
      report.outcome = OutcomeOf(deletion.result);
      if (deletion.result == KeyDeletion::Result::Failed) {
        report.detail = Describe(Failure(deletion.failureNumber, deletion.failureDescription));
      }
      return report;
    }
  }
  return report;
}

}  // namespace

void RunRemoval(ToolState& state, const RemovalOptions& options) {
  if (!state.FileSys) throw StandardFailure(ErrorNumber::ObjectNotSet);
  int number = 0;
  for (const RemovalStep& step : RemovalPlan(state)) {
    const StepReport report = Perform(step, *state.FileSys, {++number, L"", Outcome::NotPresent, L""}, options);
    if (options.observer != nullptr) options.observer->StepDone(report);
  }
}

}  // namespace qvn
