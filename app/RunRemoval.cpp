#include "app/RunRemoval.h"

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
      return deletion.failureDescription + L", registry error " + DecimalText(deletion.failureNumber);
    case KeyDeletion::Result::Failed:
      return Describe(Failure(deletion.failureNumber, deletion.failureDescription));
    case KeyDeletion::Result::Deleted:
    case KeyDeletion::Result::NotThere:
      break;
  }
  return L"";
}

StepReport Perform(const RemovalStep& step, AutomationObject& fileSys, StepReport report,
                   const RemovalOptions& options) {
  if (step.kind == RemovalStep::Kind::RegistryKey) {
    report.target = KeyTarget(step);
    const KeyDeletion deletion = DeleteRegKey(step.target, step.subkey, options.quiet);
    report.outcome = OutcomeOf(deletion.result);
    report.detail = DetailOf(deletion);
    return report;
  }
  if (step.skipped) {
    report.target = step.target;
    report.outcome = step.refusedByGuard ? Outcome::Refused : Outcome::NotPresent;
    report.detail = step.skipReason;
    return report;
  }
  return DeleteNamedPath(fileSys, step.target, PathKindText(step.kind), report, options.observer);
}

}  // namespace

void RunRemoval(ToolState& state, const RemovalPlan& plan, const RemovalOptions& options) {
  if (!state.FileSys) throw StandardFailure(ErrorNumber::ObjectNotSet);
  int number = 0;
  for (const RemovalStep& step : plan.steps) {
    const StepReport report = Perform(step, *state.FileSys, {++number, L"", Outcome::NotPresent, L""}, options);
    if (options.observer != nullptr) options.observer->StepDone(report);
  }
}

}  // namespace qvn
