#include "app/RemovalLog.h"

#include "services/DecimalText.h"

namespace qvn {
namespace {

const wchar_t kVersion[] = L"QvnRemove 1.01";

std::wstring OutcomeText(const StepReport& report) {
  switch (report.outcome) {
    case StepReport::Outcome::Removed:
      return report.detail.empty() ? L"removed" : L"removed (" + report.detail + L")";
    case StepReport::Outcome::AtRestart:
      return L"left for the restart (" + report.detail + L")";
    case StepReport::Outcome::NotPresent:
      return report.detail.empty() ? L"not present" : L"not present (" + report.detail + L")";
    case StepReport::Outcome::Refused:
      return L"refused (" + report.detail + L")";
    case StepReport::Outcome::Failed:
      break;
  }
  return L"failed (" + report.detail + L")";
}

}  // namespace

void RemovalLog::Started(const std::wstring& commandLine) {
  sink_.Write(std::wstring(kVersion) + L" started: " + commandLine);
}

void RemovalLog::Found(const StartupTexts& found) { sink_.Write(L"Operating system: " + found.osLabel); }

void RemovalLog::Planned(const RemovalPlan& plan) {
  const InstallFolderDecision& decision = plan.installFolder;
  std::wstring verdict;
  if (decision.folder) {
    verdict = L"will be deleted as " + *decision.folder;
  } else if (decision.refusedByGuard) {
    verdict = L"refused: " + decision.refusal;
  } else {
    verdict = L"absent: " + decision.refusal;
  }
  sink_.Write(L"Install location: " + plan.installLocation + L" (" + verdict + L")");
}

void RemovalLog::FileInUse(const std::wstring& path) {
  sink_.Write(L"In use: " + path);
}

void RemovalLog::GaveUpInUse() {
  sink_.Write(L"Nothing was removed: Quorvane is still in use");
}

void RemovalLog::StepDone(const StepReport& report) {
  sink_.Write(L"Step " + DecimalText(report.number) + L": " + report.target + L": " + OutcomeText(report));
}

void RemovalLog::LinkRemoved(const std::wstring& link) {
  sink_.Write(L"Folder link removed by itself, not followed: " + link);
}

void RemovalLog::ProgramsAskedToClose(const std::vector<CloseOutcome>& outcomes) {
  for (const CloseOutcome& outcome : outcomes) {
    const wchar_t* request =
        outcome.asked ? L"Asked to close: " : L"Not asked to close, no window of it on this desktop: ";
    sink_.Write(request + outcome.program + (outcome.ended ? L"; it ended" : L"; still running"));
  }
}

void RemovalLog::MovedAside(const std::wstring& from, const std::wstring& to) {
  sink_.Write(L"In use, moved aside: " + from + L" to " + to);
}

void RemovalLog::PendingAtRestart(const std::wstring& path) { sink_.Write(L"Removed at the restart: " + path); }

void RemovalLog::FolderMayRemain(const std::wstring& folder) {
  sink_.Write(L"This Windows removes no folder at restart; it may remain, empty: " + folder);
}

void RemovalLog::RestartRefused(const std::wstring& why) {
  sink_.Write(L"Not left for the restart: " + why);
}

void RemovalLog::Stopped(const Failure& failure) {
  std::wstring line = L"Failed: error " + DecimalText(failure.Number()) + L": " + failure.Description();
  if (!failure.Item().empty()) line += L" (" + failure.Item() + L")";
  sink_.Write(line);
}

void RemovalLog::Listed(const std::vector<std::wstring>& lines) {
  for (const std::wstring& line : lines) sink_.Write(line);
}

void RemovalLog::RestartRequested(bool accepted) {
  sink_.Write(std::wstring(L"Restart requested: ") + (accepted ? L"accepted" : L"refused"));
}

void RemovalLog::Ended(int exitCode) { sink_.Write(L"Exit code: " + DecimalText(exitCode)); }

}  // namespace qvn
