#include "services/BusyWindow.h"

#include "services/Text.h"
#include "services/WindowApi.h"

namespace qvn {
namespace {

// Clicks and keys, by message number: keys (WM_KEYDOWN to WM_UNICHAR), mouse
// in the client area (WM_MOUSEMOVE to WM_MOUSEHWHEEL) and on the frame
// (WM_NCMOUSEMOVE to WM_NCXBUTTONDBLCLK), where the close box is.
struct MessageRange {
  UINT first;
  UINT last;
};
constexpr MessageRange kInput[] = {{0x0100, 0x0109}, {0x0200, 0x020E}, {0x00A0, 0x00AD}};

constexpr int kLongestText = 1024;

}  // namespace

void AnswerSentMessagesAndRepaint() {
  MSG message;
  api::PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
  while (api::PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) api::DispatchMessageA(&message);
}

void DropWaitingInput() {
  MSG message;
  for (const MessageRange& range : kInput) {
    while (api::PeekMessageA(&message, nullptr, range.first, range.last, PM_REMOVE)) {
    }
  }
}

std::wstring TextOfWindow(HWND window) {
  char text[kLongestText] = {};
  const int length = api::GetWindowTextA(window, text, kLongestText);
  return FromAnsi(std::string(text, length > 0 ? static_cast<std::size_t>(length) : 0));
}

void ShowTextIn(HWND window, const std::wstring& text) { api::SetWindowTextA(window, ToAnsi(text).c_str()); }

DWORD Milliseconds() { return api::GetTickCount(); }

}  // namespace qvn
