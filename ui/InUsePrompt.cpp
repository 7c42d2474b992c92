#include "ui/InUsePrompt.h"

#include "ui/FailureReport.h"
#include "ui/InUsePromptLayout.h"
#include "ui/ProgramFrame.h"

namespace qvn {
InUsePrompt::InUsePrompt(ProgramFrame& frame, HWND owner, const InUse& found)
    : Window(frame, "QvnRemoveInUsePrompt", kInUsePromptLayout, owner),
      text_(DescribeInUse(found)),
      offersClose_(!found.programs.empty()) {}

void InUsePrompt::OnLoad() {
  SetControlText(kInUseText, text_);
  if (!offersClose_) ::DestroyWindow(::GetDlgItem(Handle(), kInUseClose));
}

void InUsePrompt::OnClick(int controlId) {
  switch (controlId) {
    case kInUseRetry:
      Answer(InUseAnswer::Retry);
      break;
    case kInUseClose:
      Answer(InUseAnswer::ClosePrograms);
      break;
    case kInUseRemoveAtRestart:
      Answer(InUseAnswer::RemoveAtRestart);
      break;
    default:
      Answer(InUseAnswer::Cancel);
      break;
  }
}

void InUsePrompt::Answer(InUseAnswer answer) {
  answer_ = answer;
  answered_ = true;
}

bool InUsePrompt::TakesKey(const MSG& message) {
  if (message.message != WM_KEYDOWN || (message.hwnd != Handle() && !::IsChild(Handle(), message.hwnd))) return false;
  switch (message.wParam) {
    case VK_RETURN:
      Answer(InUseAnswer::Retry);
      return true;
    case VK_ESCAPE:
      Answer(InUseAnswer::Cancel);
      return true;
    case VK_TAB:
      if (HWND next = ::GetNextDlgTabItem(Handle(), ::GetFocus(), ::GetKeyState(VK_SHIFT) < 0)) ::SetFocus(next);
      return true;
    default:
      return false;
  }
}

InUseAnswer InUsePrompt::Ask() {
  if (!Load()) return InUseAnswer::Cancel;
  Frame().EnableWindows(false);
  Show();
  MSG message;
  while (!answered_ && IsLoaded()) {
    const BOOL got = ::GetMessageA(&message, nullptr, 0, 0);
    if (got <= 0) {
      // The program is ending: the frame's own loop must see the quit too.
      if (got == 0) ::PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (TakesKey(message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  // Given back before the prompt goes, so that the main window is active again.
  Frame().EnableWindows(true);
  Unload();
  return answer_;
}

}  // namespace qvn
