#pragma once
#include <string>

#include "services/PlatformTypes.h"

namespace qvn {

// What a program does to stay alive while it works on its one thread:
// Windows marks a window "Not Responding" once its thread has not looked at
// its messages for five seconds, and a user then ends it, half way.

// Delivers what was sent to this thread's windows and repaints them; leaves
// every posted message, and so every click and key, in the queue. No
// exception is caught here: each window procedure keeps its own.
void AnswerSentMessagesAndRepaint();

// Throws away the clicks and keys that waited in the queue meanwhile, on the
// windows' client areas and frames alike, as a disabled window would have.
void DropWaitingInput();

// A window's text, converted at the system's 8-bit code page.
std::wstring TextOfWindow(HWND window);
void ShowTextIn(HWND window, const std::wstring& text);

// Milliseconds since the system started, wrapping after 49.7 days: only
// differences count.
DWORD Milliseconds();

}  // namespace qvn
