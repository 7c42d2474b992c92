#pragma once
#include <string>
#include <vector>

#include "app/InitToolState.h"
#include "app/RemovalObserver.h"
#include "app/RemovalPlan.h"
#include "services/Failure.h"
#include "services/LogFile.h"

namespace qvn {

// The record an administrator keeps of one run, one line per event: what was
// asked, what the program found, each step of the removal and how it ended,
// the restart and the exit code.
class RemovalLog : public RemovalObserver {
 public:
  explicit RemovalLog(LogSink& sink) : sink_(sink) {}

  void Started(const std::wstring& commandLine);
  // What start-up found.
  void Found(const StartupTexts& found);
  // What a run decided: the install location and the guard's verdict on it.
  void Planned(const RemovalPlan& plan);
  void FileInUse(const std::wstring& path);
  // The run ended with nothing removed for something in use.
  void GaveUpInUse();
  // Another run has the removal's turn: this one removes nothing.
  void AnotherRunRemoves();
  // The run before ended holding the turn; this one took it and goes on.
  void TurnTakenAfterAnEndedRun();
  void StepDone(const StepReport& report) override;
  void LinkRemoved(const std::wstring& link) override;
  void RemovingInParts(std::size_t ceiling) override;
  void FolderLeftForRestart(const std::wstring& folder, bool addedTo) override;
  void LinkRemovedAfterItsFolder(const std::wstring& link, DWORD error) override;
  void ProgramsAskedToClose(const std::vector<CloseOutcome>& outcomes) override;
  void MovedAside(const std::wstring& from, const std::wstring& to) override;
  void PendingAtRestart(const std::wstring& path, bool whereItIs) override;
  void FolderMayRemain(const std::wstring& folder) override;
  void RestartRefused(const std::wstring& why) override;
  void InterruptedRunFinished(const LeftoverReport& report) override;
  void Stopped(const Failure& failure);
  void Listed(const std::vector<std::wstring>& lines);
  void RestartRequested(bool accepted);
  void Ended(int exitCode);

 private:
  LogSink& sink_;
};

}  // namespace qvn
