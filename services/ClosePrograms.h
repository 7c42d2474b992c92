#pragma once
#include <string>
#include <vector>

#include "services/RunningPrograms.h"

namespace qvn {

// What became of one running program asked to close.
struct CloseOutcome {
  std::wstring program;  // its file
  bool asked;            // a window of it on this desktop was sent WM_CLOSE
  bool ended;
};

// Asks each program to end as its user would: WM_CLOSE is posted to each of
// its visible, unowned top-level windows on this desktop (what a user sees
// and can close). Then waits, up to `waitMs` in all, for those asked to end.
// Meanwhile it handles only messages sent to this thread, so that a closing
// program that sends one is answered, and takes no click or key. It never
// ends a process by force: one that asks its user to save, hides itself
// instead of ending (a tray program) or does not end counts as still running.
// A program with no such window is not asked and not waited for.
std::vector<CloseOutcome> AskToClose(const std::vector<RunningProgram>& programs, DWORD waitMs);

}  // namespace qvn
