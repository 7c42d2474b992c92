#include "ui/RemovalWatch.h"

#include "services/BusyWindow.h"
#include "services/Concat.h"
#include "services/DecimalText.h"
#include "services/ShutdownReason.h"

namespace qvn {
namespace {

const wchar_t kShutdownReason[] = L"Quorvane is being removed. Ending now would leave it half removed.";

}  // namespace

std::wstring ProgressText(const RemovalProgress& progress) {
  const TextPiece phase = progress.phase == RemovalProgress::Phase::Checking ? TextPiece(L"Checking files: ")
                                                                              : TextPiece(L"Removing files: ");
  const std::wstring done = GroupedDecimalText(progress.done);
  if (progress.total == 0) return Concat({phase, done});
  return Concat({phase, done, L" of ", GroupedDecimalText(progress.total)});
}

RemovalWatch::RemovalWatch(HWND window, HWND label, RemovalObserver* next)
    : RelayingObserver(next), window_(window), label_(label), labelText_(TextOfWindow(label)), started_(Milliseconds()) {}

RemovalWatch::~RemovalWatch() {
  try {
    PutLabelBack();
    DropWaitingInput();
    MarksHeld(false);
  } catch (...) {
    // The window goes on as it is; nothing is left to tell.
  }
}

void RemovalWatch::Pause() {
  PutLabelBack();
  DropWaitingInput();
}

void RemovalWatch::Resume() { started_ = Milliseconds(); }

void RemovalWatch::PutLabelBack() {
  if (!showing_) return;
  ShowTextIn(label_, labelText_);
  showing_ = false;
}

// A window that cannot show its progress must not stop a removal, least of
// all while its marks are held: nothing here raises.
void RemovalWatch::Working(const RemovalProgress& progress) {
  try {
    RelayingObserver::Working(progress);
    // A new phase, and the end of one, show at once: the label never tells
    // of the check while the removal runs.
    const DWORD now = Milliseconds();
    const bool news = !showing_ || progress.phase != shownPhase_ || progress.done == progress.total;
    if (now - started_ >= kShowAfterMs && (news || now - shownAt_ >= kRedrawEveryMs)) {
      ShowTextIn(label_, ProgressText(progress));
      showing_ = true;
      shownAt_ = now;
      shownPhase_ = progress.phase;
    }
    AnswerSentMessagesAndRepaint();
  } catch (...) {
    // Shown at the next report, or not at all.
  }
}

void RemovalWatch::MarksHeld(bool held) {
  if (held == marksHeld_) return;
  marksHeld_ = held;  // refused from here on, whatever the reason's fate
  try {
    RelayingObserver::MarksHeld(held);
    if (held) {
      GiveShutdownReason(window_, kShutdownReason);
    } else {
      WithdrawShutdownReason(window_);
    }
  } catch (...) {
    // The session is refused all the same; only the reason is not shown.
  }
}

}  // namespace qvn
