#include "app/RemovalLog.h"

#include "services/Concat.h"
#include "services/DecimalText.h"

namespace qvn {
namespace {

const wchar_t kVersion[] = L"QvnRemove 1.01";

std::wstring OutcomeText(const StepReport& report) {
  switch (report.outcome) {
    case StepReport::Outcome::Removed:
      return report.detail.empty() ? L"removed" : Concat({L"removed (", report.detail, L")"});
    case StepReport::Outcome::AtRestart:
      return Concat({L"left for the restart (", report.detail, L")"});
    case StepReport::Outcome::NotPresent:
      return report.detail.empty() ? L"not present" : Concat({L"not present (", report.detail, L")"});
    case StepReport::Outcome::Refused:
      return Concat({L"refused (", report.detail, L")"});
    case StepReport::Outcome::Failed:
      break;
  }
  return Concat({L"failed (", report.detail, L")"});
}

}  // namespace

void RemovalLog::Started(const std::wstring& commandLine) {
  sink_.Write(Concat({kVersion, L" started: ", commandLine}));
}

void RemovalLog::Found(const StartupTexts& found) { sink_.Write(Concat({L"Operating system: ", found.osLabel})); }

void RemovalLog::Planned(const RemovalPlan& plan) {
  const InstallFolderDecision& decision = plan.installFolder;
  const TextPiece verdict = decision.folder         ? TextPiece(L"will be deleted as ")
                           : decision.stopsRemoval   ? TextPiece(L"refused, nothing is removed: ")
                           : decision.refusedByGuard ? TextPiece(L"refused: ")
                                                     : TextPiece(L"absent: ");
  const std::wstring& what = decision.folder ? *decision.folder : decision.refusal;
  const bool linked = !decision.link.empty();
  sink_.Write(Concat({L"Install location: ", plan.installLocation, L" (", verdict, what,
                      linked ? TextPiece(L", the folder the link ") : TextPiece(L""), decision.link,
                      linked ? TextPiece(L" leads to") : TextPiece(L""), L")"}));
}

void RemovalLog::FileInUse(const std::wstring& path) {
  sink_.Write(Concat({L"In use: ", path}));
}

void RemovalLog::GaveUpInUse() {
  sink_.Write(L"Nothing was removed: Quorvane is still in use");
}

void RemovalLog::AnotherRunRemoves() {
  sink_.Write(L"Nothing was removed: another QvnRemove is removing Quorvane on this computer");
}

void RemovalLog::TurnTakenAfterAnEndedRun() {
  sink_.Write(L"The run before this one ended without finishing its removal; this run goes on in its place");
}

void RemovalLog::StepDone(const StepReport& report) {
  sink_.Write(Concat({L"Step ", DecimalText(report.number), L": ", report.target, L": ", OutcomeText(report)}));
}

void RemovalLog::LinkRemoved(const std::wstring& link) {
  sink_.Write(Concat({L"Folder link removed by itself, not followed: ", link}));
}

void RemovalLog::RemovingInParts(std::size_t ceiling) {
  sink_.Write(Concat({L"More than ", DecimalText(static_cast<std::int32_t>(ceiling)),
                      L" files and folders: each folder is checked, then each removed, one at a time"}));
}

void RemovalLog::FolderLeftForRestart(const std::wstring& folder, bool addedTo) {
  const TextPiece why = addedTo ? TextPiece(L"Another program added to it while it was removed, left for the restart: ")
                                : TextPiece(L"Another program still held a file in it, left for the restart: ");
  sink_.Write(Concat({why, folder}));
}

void RemovalLog::LinkRemovedAfterItsFolder(const std::wstring& link, DWORD error) {
  if (error == ERROR_SUCCESS) {
    sink_.Write(Concat({L"Folder link removed after the folder it leads to: ", link}));
    return;
  }
  sink_.Write(Concat({L"Folder link left in place (error ", DecimalText(static_cast<std::int32_t>(error)),
                      L"), the folder it leads to removed: ", link}));
}

void RemovalLog::ProgramsAskedToClose(const std::vector<CloseOutcome>& outcomes) {
  for (const CloseOutcome& outcome : outcomes) {
    const TextPiece request =
        outcome.asked ? TextPiece(L"Asked to close: ") : TextPiece(L"Not asked to close, no window of it on this desktop: ");
    sink_.Write(Concat({request, outcome.program, outcome.ended ? TextPiece(L"; it ended") : TextPiece(L"; still running")}));
  }
}

void RemovalLog::MovedAside(const std::wstring& from, const std::wstring& to) {
  sink_.Write(Concat({L"In use, moved aside: ", from, L" to ", to}));
}

void RemovalLog::PendingAtRestart(const std::wstring& path, bool whereItIs) {
  const TextPiece where = whereItIs ? TextPiece(L", listed where it is: ") : TextPiece(L": ");
  sink_.Write(Concat({L"Removed at the restart", where, path}));
}

void RemovalLog::FolderMayRemain(const std::wstring& folder) {
  sink_.Write(Concat({L"This Windows removes no folder at restart; it may remain, empty: ", folder}));
}

void RemovalLog::RestartRefused(const std::wstring& why) {
  sink_.Write(Concat({L"Not left for the restart: ", why}));
}

void RemovalLog::InterruptedRunFinished(const LeftoverReport& report) {
  using Outcome = LeftoverReport::Outcome;
  const TextPiece outcome = report.outcome == Outcome::Removed          ? TextPiece(L"removed: ")
                            : report.outcome == Outcome::LeftForRestart ? TextPiece(L"still in use, left for the restart: ")
                                                                        : TextPiece(L"not finished (");
  const bool why = report.outcome == Outcome::NotFinished;
  sink_.Write(Concat({L"Left by an interrupted run, ", outcome, why ? TextPiece(report.detail) : TextPiece(L""),
                      why ? TextPiece(L"): ") : TextPiece(L""), report.folder}));
}

void RemovalLog::Stopped(const Failure& failure) {
  const bool named = !failure.Item().empty();
  sink_.Write(Concat({L"Failed: error ", DecimalText(failure.Number()), L": ", failure.Description(),
                      named ? TextPiece(L" (") : TextPiece(L""), failure.Item(), named ? TextPiece(L")") : TextPiece(L"")}));
}

void RemovalLog::Listed(const std::vector<std::wstring>& lines) {
  for (const std::wstring& line : lines) sink_.Write(line);
}

void RemovalLog::RestartRequested(bool accepted) {
  sink_.Write(Concat({L"Restart requested: ", accepted ? TextPiece(L"accepted") : TextPiece(L"refused")}));
}

void RemovalLog::Ended(int exitCode) { sink_.Write(Concat({L"Exit code: ", DecimalText(exitCode)})); }

}  // namespace qvn
