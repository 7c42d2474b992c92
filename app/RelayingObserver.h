#pragma once
#include "app/RemovalObserver.h"

namespace qvn {

// An observer that passes every event on to `next` (the log, when there is
// one), for observers that add something of their own to a few events: a
// count of what was removed, a window kept alive. Each new event of
// RemovalObserver is passed on here once, so that none of them can forget it.
class RelayingObserver : public RemovalObserver {
 public:
  explicit RelayingObserver(RemovalObserver* next) : next_(next) {}

  void StepDone(const StepReport& report) override;
  void LinkRemoved(const std::wstring& link) override;
  void RemovingInParts(std::size_t ceiling) override;
  void FolderLeftForRestart(const std::wstring& folder, bool addedTo) override;
  void ProgramsAskedToClose(const std::vector<CloseOutcome>& outcomes) override;
  void MovedAside(const std::wstring& from, const std::wstring& to) override;
  void PendingAtRestart(const std::wstring& path, bool whereItIs) override;
  void FolderMayRemain(const std::wstring& folder) override;
  void RestartRefused(const std::wstring& why) override;
  void InterruptedRunFinished(const LeftoverReport& report) override;
  void LinkRemovedAfterItsFolder(const std::wstring& link, DWORD error) override;
  void Working(const RemovalProgress& progress) override;
  void MarksHeld(bool held) override;

 private:
  RemovalObserver* next_;
};

}  // namespace qvn
