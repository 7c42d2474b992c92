#pragma once
#include <string>

#include "app/RemoveWhenNotInUse.h"
#include "ui/Window.h"

namespace qvn {

// The window that asks what to do when something the removal would delete is
// in use: it names what is in use and the running program where there is one,
// says what each choice does, and offers "Close Quorvane" (only with a
// program to close), "Remove at Restart", "Retry" and "Cancel". It is modal
// to the program: while it shows, the program's other windows take no input.
// Enter is Retry and Escape Cancel, whichever button has the focus; Tab moves
// the focus and Space presses the focused button. Closing it is Cancel.
class InUsePrompt : public Window {
 public:
  InUsePrompt(ProgramFrame& frame, HWND owner, const InUse& found);

  // Shows the prompt and returns when it is answered or gone (Cancel then,
  // also when the prompt cannot be made: the frame has reported that).
  InUseAnswer Ask();

 private:
  void OnLoad() override;
  void OnClick(int controlId) override;
  // Enter, Escape and Tab, before any control sees them.
  bool TakesKey(const MSG& message);
  void Answer(InUseAnswer answer);

  std::wstring text_;
  bool offersClose_;
  bool answered_ = false;
  InUseAnswer answer_ = InUseAnswer::Cancel;
};

}  // namespace qvn
