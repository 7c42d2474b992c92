#pragma once
#include <string>
#include <vector>

#include "app/RelayingObserver.h"
#include "services/PlatformTypes.h"

namespace qvn {

// What a label shows of a removal's progress: "Checking files: 1,200" while
// the total is not known, "Removing files: 1,200 of 10,000" once it is.
std::wstring ProgressText(const RemovalProgress& progress);

// What the main window does while a removal runs on its thread, told by the
// removal itself. Each time the removal reports how far it has come, the
// window paints and answers what other programs send it, so that Windows
// never marks it "Not Responding" and a user does not end it half way; it
// takes no click and no key meanwhile (those given are dropped when the
// removal ends or stops to ask). Once the removal has run half a second, a
// label of the window shows how far it has come, redrawn at most ten times a
// second but at once for a new phase or the end of one; the label's own text
// comes back when the removal ends or stops to ask the user. While delete
// marks are held the session may not end, and Vista and later show why.
// Every event goes on to `next` (the log), when there is one.
class RemovalWatch : public RelayingObserver {
 public:
  static constexpr DWORD kShowAfterMs = 500;
  static constexpr DWORD kRedrawEveryMs = 100;

  RemovalWatch(HWND window, HWND label, RemovalObserver* next);
  ~RemovalWatch() override;
  RemovalWatch(const RemovalWatch&) = delete;
  RemovalWatch& operator=(const RemovalWatch&) = delete;

  // The removal stops to ask the user: the label shows its own text again,
  // and the clicks and keys given meanwhile are dropped. Resume starts the
  // half second again.
  void Pause();
  void Resume();

  // The answer to WM_QUERYENDSESSION: no while delete marks are held, since
  // the end of the process would carry out every mark, half a removal.
  bool SessionMayEnd() const { return !marksHeld_; }

  void Working(const RemovalProgress& progress) override;
  void MarksHeld(bool held) override;

 private:
  void PutLabelBack();

  HWND window_;
  HWND label_;
  std::wstring labelText_;  // the label's own, shown again after
  DWORD started_;
  DWORD shownAt_ = 0;
  RemovalProgress::Phase shownPhase_ = RemovalProgress::Phase::Checking;
  bool showing_ = false;
  bool marksHeld_ = false;
};

}  // namespace qvn
