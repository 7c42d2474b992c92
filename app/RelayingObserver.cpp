#include "app/RelayingObserver.h"

namespace qvn {

void RelayingObserver::StepDone(const StepReport& report) {
  if (next_ != nullptr) next_->StepDone(report);
}

void RelayingObserver::LinkRemoved(const std::wstring& link) {
  if (next_ != nullptr) next_->LinkRemoved(link);
}

void RelayingObserver::RemovingInParts(std::size_t ceiling) {
  if (next_ != nullptr) next_->RemovingInParts(ceiling);
}

void RelayingObserver::FolderLeftForRestart(const std::wstring& folder, bool addedTo) {
  if (next_ != nullptr) next_->FolderLeftForRestart(folder, addedTo);
}

void RelayingObserver::ProgramsAskedToClose(const std::vector<CloseOutcome>& outcomes) {
  if (next_ != nullptr) next_->ProgramsAskedToClose(outcomes);
}

void RelayingObserver::MovedAside(const std::wstring& from, const std::wstring& to) {
  if (next_ != nullptr) next_->MovedAside(from, to);
}

void RelayingObserver::PendingAtRestart(const std::wstring& path, bool whereItIs) {
  if (next_ != nullptr) next_->PendingAtRestart(path, whereItIs);
}

void RelayingObserver::FolderMayRemain(const std::wstring& folder) {
  if (next_ != nullptr) next_->FolderMayRemain(folder);
}

void RelayingObserver::RestartRefused(const std::wstring& why) {
  if (next_ != nullptr) next_->RestartRefused(why);
}

void RelayingObserver::InterruptedRunFinished(const LeftoverReport& report) {
  if (next_ != nullptr) next_->InterruptedRunFinished(report);
}

void RelayingObserver::LinkRemovedAfterItsFolder(const std::wstring& link, DWORD error) {
  if (next_ != nullptr) next_->LinkRemovedAfterItsFolder(link, error);
}

void RelayingObserver::Working(const RemovalProgress& progress) {
  if (next_ != nullptr) next_->Working(progress);
}

void RelayingObserver::MarksHeld(bool held) {
  if (next_ != nullptr) next_->MarksHeld(held);
}

}  // namespace qvn
