#include "ui/CommandLineRun.h"

#include <memory>
#include <optional>

#include "app/CommandLine.h"
#include "app/ExitCode.h"
#include "app/InitToolState.h"
#include "app/LogLocation.h"
#include "app/PlanListing.h"
#include "app/ProgramsInTargets.h"
#include "app/RemovalLog.h"
#include "app/UnattendedRemoval.h"
#include "services/AutomationError.h"
#include "services/LogFile.h"
#include "services/MessageBox.h"
#include "services/PlatformApi.h"
#include "services/Text.h"
#include "ui/FailureReport.h"
#include "ui/ProgramFrame.h"

namespace qvn {
namespace {

const wchar_t kTitle[] = L"QvnRemove";

// Tells an interactive user; an unattended run shows nothing, ever.
void Tell(const CommandLine& line, const std::wstring& text, UINT icon) {
  if (!line.silent) ShowMessageBox(nullptr, text, kTitle, MB_OK | icon);
}

std::wstring Joined(const std::vector<std::wstring>& lines) {
  std::wstring text;
  for (const std::wstring& line : lines) text += (text.empty() ? L"" : L"\r\n") + line;
  return text;
}

// /WHATIF: the steps and what each would find, and with /CLOSEAPPLICATIONS
// the programs it would ask to close, to the log when there is one, else to a
// box (none under /S).
RunEnding ListSteps(const CommandLine& line, RemovalLog* log) {
  RunEnding ending;
  ending.unattended = line.silent;
  ToolState state;
  try {
    const StartupTexts texts = InitToolState(state);
    if (log != nullptr) log->Found(texts);
    const RemovalPlan plan = PlanRemoval(state);
    if (log != nullptr) log->Planned(plan);
    std::vector<std::wstring> steps = ListPlan(state, plan);
    if (line.closePrograms) {
      const bool ntFamily = state.VersionInfo.dwPlatformId == VER_PLATFORM_WIN32_NT;
      for (std::wstring& program : ListProgramsToClose(plan, ntFamily)) steps.push_back(std::move(program));
    }
    if (log != nullptr) {
      log->Listed(steps);
    } else {
      Tell(line, L"QvnRemove would do this, and has removed nothing:\r\n\r\n" + Joined(steps), MB_ICONINFORMATION);
    }
    ending.kind = RunEnding::Kind::Listed;
  } catch (const Failure& failure) {
    if (log != nullptr) log->Stopped(failure);
    const FailureReport report = DescribeFailure(failure);
    Tell(line, report.text, MB_ICONERROR);
    ending.kind = RunEnding::Kind::Failed;
  }
  return ending;
}

RunEnding Run(HINSTANCE instance, const CommandLine& line, RemovalLog* log) {
  if (line.help) {
    Tell(line, UsageText(), MB_ICONINFORMATION);
    RunEnding listed;
    listed.kind = RunEnding::Kind::Listed;
    return listed;
  }
  if (line.whatIf) return ListSteps(line, log);
  if (line.silent) return RunUnattended(line.restart, log, line.closePrograms);
  ProgramFrame frame(instance, log);
  RunEnding ending;
  ending.kind = frame.Run() == 0 ? RunEnding::Kind::Finished : RunEnding::Kind::Failed;
  return ending;
}

// Writes the exception being handled to the log, where one is kept. Called
// from a catch block; nothing it meets on the way gets out of it.
void LogCaughtFailure(std::optional<RemovalLog>& log) noexcept {
  if (!log) return;
  try {
    log->Stopped(CaughtFailure());
  } catch (...) {
    // The run has failed already; a line missing from its log changes nothing.
  }
}

RunEnding InvalidArguments() {
  RunEnding ending;
  ending.kind = RunEnding::Kind::InvalidArguments;
  return ending;
}

}  // namespace

int RunFromCommandLine(HINSTANCE instance) {
  const std::wstring commandLine = FromAnsi(api::GetCommandLineA());
  const CommandLine line = ParseCommandLine(commandLine);
  if (!line.invalid.empty()) {
    Tell(line, L"QvnRemove did not understand the argument " + line.invalid + L".\r\n\r\n" + UsageText(),
         MB_ICONERROR);
    return ExitCode(InvalidArguments());
  }
  std::unique_ptr<LogFile> file;
  if (line.logPath) {
    if (LogLiesInRemovalTargets(*line.logPath)) {
      Tell(line, L"QvnRemove cannot keep its log in what it removes: " + *line.logPath + L".", MB_ICONERROR);
      return ExitCode(InvalidArguments());
    }
    file = LogFile::OpenForAppending(*line.logPath);
    if (!file) {
      Tell(line, L"QvnRemove cannot write its log to " + *line.logPath + L".", MB_ICONERROR);
      return ExitCode(InvalidArguments());
    }
  }
  std::optional<RemovalLog> log;
  if (file) {
    log.emplace(*file);
    log->Started(commandLine);
  }
  RunEnding ending;
  try {
    ending = Run(instance, line, log ? &*log : nullptr);
  } catch (...) {
    // Only a failure outside every window and handler reaches here (memory,
    // a function of the platform that cannot be bound): the run failed.
    LogCaughtFailure(log);
    ending.kind = RunEnding::Kind::Failed;
    ending.unattended = line.silent;
  }
  const int code = ExitCode(ending);
  if (log) log->Ended(code);
  return code;
}

}  // namespace qvn
