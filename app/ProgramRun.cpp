#include "app/ProgramRun.h"

#include <memory>
#include <optional>

#include "app/CommandLine.h"
#include "app/ExitCode.h"
#include "app/InterruptedRuns.h"
#include "app/LogLocation.h"
#include "app/OneRunAtATime.h"
#include "app/PlanListing.h"
#include "app/ProgramsInTargets.h"
#include "app/RemovalLog.h"
#include "app/RemovalTargets.h"
#include "app/RemoveAtRestart.h"
#include "app/UnattendedRemoval.h"
#include "services/AutomationError.h"
#include "services/Concat.h"
#include "services/LogFile.h"
#include "services/MessageBox.h"
#include "services/SystemErrorBoxes.h"
#include "services/VersionQuery.h"
#include "ui/FailureReport.h"

namespace qvn {
namespace {

const wchar_t kTitle[] = L"QvnRemove";

// Tells an interactive user; an unattended run shows nothing, ever.
void Tell(const CommandLine& line, const std::wstring& text, UINT icon) {
  if (!line.silent) ShowMessageBox(nullptr, text, kTitle, MB_OK | icon);
}

// /WHATIF: the steps and what each would find, then what would become of
// what an interrupted run left beside the install folder, with /CLOSEAPPLICATIONS the
// programs it would ask to close, and with /REMOVEATRESTART what it would
// leave for the restart, to the log when there is one, else to a box (none
// under /S).
RunEnding ListSteps(const CommandLine& line, UnattendedStart& start, RemovalLog* log) {
  RunEnding ending;
  ending.unattended = line.silent;
  const auto stopped = [&](const Failure& failure) {
    if (log != nullptr) log->Stopped(failure);
    Tell(line, DescribeFailure(failure).text, MB_ICONERROR);
    ending.kind = RunEnding::Kind::Failed;
    return ending;
  };
  if (start.failure) return stopped(*start.failure);
  try {
    if (log != nullptr) log->Found(start.found);
    if (log != nullptr) log->Planned(start.plan);
    std::vector<std::wstring> steps = ListPlan(start.state, start.plan);
    for (std::wstring& leftover : ListInterruptedRuns(start.state, start.plan)) steps.push_back(std::move(leftover));
    const bool ntFamily = start.state.VersionInfo.dwPlatformId == VER_PLATFORM_WIN32_NT;
    if (line.closePrograms) {
      for (std::wstring& program : ListProgramsToClose(start.plan, ntFamily)) steps.push_back(std::move(program));
    }
    if (line.removeAtRestart) {
      for (std::wstring& entry : ListWhatWouldGoAtRestart(RemovalTargets(start.plan), ntFamily)) {
        steps.push_back(std::move(entry));
      }
    }
    if (log != nullptr) {
      log->Listed(steps);
    } else {
      Tell(line, Concat({L"QvnRemove would do this, and has removed nothing:\r\n\r\n", Joined(steps, L"\r\n")}),
           MB_ICONINFORMATION);
    }
    ending.kind = RunEnding::Kind::Listed;
  } catch (const Failure& failure) {
    return stopped(failure);
  }
  return ending;
}

RunEnding Run(const CommandLine& line, UnattendedStart* start, RemovalLog* log,
              const ShowWindows& showWindows) {
  if (line.help) {
    Tell(line, UsageText(), MB_ICONINFORMATION);
    RunEnding listed;
    listed.kind = RunEnding::Kind::Listed;
    return listed;
  }
  if (line.whatIf) return ListSteps(line, *start, log);
  if (line.silent) return RunUnattended(*start, line, log);
  RunEnding ending;
  ending.kind = showWindows(log) ? RunEnding::Kind::Finished : RunEnding::Kind::Failed;
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

// /S while another run removes: nothing is read or removed, and the run ends
// at once with the code deployment tools retry later by themselves.
RunEnding AnotherRunRemoves() {
  RunEnding ending;
  ending.kind = RunEnding::Kind::AnotherRunRemoves;
  ending.unattended = true;
  return ending;
}

RunEnding InvalidArguments() {
  RunEnding ending;
  ending.kind = RunEnding::Kind::InvalidArguments;
  return ending;
}

// A log that cannot be opened: a path to fix (87), or, while another program
// keeps holding the file, a run to try again later (1618), which deployment
// tools do by themselves. Nothing was removed either way.
int LogNotOpened(const CommandLine& line, const std::wstring& logPath, DWORD error) {
  const bool held = error == static_cast<DWORD>(ERROR_SHARING_VIOLATION) ||
                    error == static_cast<DWORD>(ERROR_LOCK_VIOLATION);
  const TextPiece why =
      held ? TextPiece(L": another program holds it. Nothing has been removed; try again later.") : TextPiece(L".");
  Tell(line, Concat({L"QvnRemove cannot write its log to ", logPath, why}), MB_ICONERROR);
  RunEnding ending;
  ending.kind = held ? RunEnding::Kind::FileInUse : RunEnding::Kind::InvalidArguments;
  ending.unattended = line.silent;
  return ExitCode(ending);
}

// Whether the log would lie in what the run removes. A run without windows
// asks its own plan; the windows plan at each Start, so a plan of its own
// answers for them. A start-up that fails decides nothing (false): the run
// meets that failure itself and reports it.
bool LogLiesInWhatIsRemoved(const std::wstring& logPath, const UnattendedStart* start) {
  if (start != nullptr) return !start->failure && LogLiesInRemovalTargets(logPath, start->plan);
  const UnattendedStart own = StartUnattended();
  return !own.failure && LogLiesInRemovalTargets(logPath, own.plan);
}

}  // namespace

int RunProgram(const std::wstring& commandLine, const ShowWindows& showWindows) {
  TurnOffSystemErrorBoxes();
  const CommandLine line = ParseCommandLine(commandLine);
  if (!line.invalid.empty()) {
    Tell(line, Concat({L"QvnRemove did not understand the argument ", line.invalid, L".\r\n\r\n", UsageText()}),
         MB_ICONERROR);
    return ExitCode(InvalidArguments());
  }
  // Held to the very end, past the log's last line: declared first, it goes last.
  std::optional<RemovalTurn> turn;
  // Made in place, never moved: the start holds the whole tool state.
  std::unique_ptr<UnattendedStart> start;
  std::unique_ptr<LogFile> file;
  std::optional<RemovalLog> log;
  RunEnding ending;
  try {
    // Taken before anything is read, so that the start-up and the plan are
    // those of the one run removing; acted on once the log is open to say so.
    if (RemovesUnattended(line)) turn.emplace(TakeRemovalTurn());
    if (!line.help && (line.silent || line.whatIf)) start.reset(new UnattendedStart(StartUnattended()));
    if (line.logPath) {
      if (LogLiesInWhatIsRemoved(*line.logPath, start.get())) {
        Tell(line, Concat({L"QvnRemove cannot keep its log in what it removes: ", *line.logPath, L"."}), MB_ICONERROR);
        return ExitCode(InvalidArguments());
      }
      // Where the family cannot be learned, the 95/98/ME way, which NT accepts too.
      DWORD openError = 0;
      file = LogFile::OpenForAppending(*line.logPath, RunsOnNtFamily(), openError);
      if (!file) return LogNotOpened(line, *line.logPath, openError);
      log.emplace(*file);
      log->Started(commandLine);
    }
    RemovalLog* const record = log ? &*log : nullptr;
    if (turn) LogTurn(*turn, record);
    ending = turn && !turn->Taken() ? AnotherRunRemoves() : Run(line, start.get(), record, showWindows);
  } catch (...) {
    // Only a failure outside every window and handler reaches here (memory,
    // a function of the platform that cannot be bound): the run failed.
    LogCaughtFailure(log);
    ending = RunEnding{};
    ending.kind = RunEnding::Kind::Failed;
    ending.unattended = line.silent;
  }
  const int code = ExitCode(ending);
  if (log) log->Ended(code);
  return code;
}

}  // namespace qvn
