#include "services/ClosePrograms.h"

#include <algorithm>

#include "services/AutomationError.h"
#include "services/BusyWindow.h"
#include "services/KernelHandle.h"
#include "services/ProcessApi.h"

namespace qvn {
namespace {

// One slot of a wait is the message queue's.
constexpr DWORD kMostProcessesWaitedAtOnce = MAXIMUM_WAIT_OBJECTS - 1;

struct WindowList {
  std::vector<HWND> windows;
  bool complete = true;
};

// No exception leaves the system's callback: a list that cannot grow is
// marked and the enumeration stops.
BOOL CALLBACK CollectWindow(HWND window, LPARAM context) noexcept {
  WindowList& list = *reinterpret_cast<WindowList*>(context);
  try {
    list.windows.push_back(window);
    return TRUE;
  } catch (...) {
    list.complete = false;
    return FALSE;
  }
}

std::vector<HWND> TopLevelWindows() {
  WindowList list;
  api::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&list));
  if (!list.complete) throw StandardFailure(ErrorNumber::OutOfMemory);
  return list.windows;
}

bool IsUsersWindow(HWND window) { return api::IsWindowVisible(window) && api::GetWindow(window, GW_OWNER) == nullptr; }

struct Request {
  const RunningProgram* program;
  KernelHandle process;  // null when it could not be opened to wait for
  bool asked;
};

void PostClose(std::vector<Request>& requests) {
  for (HWND window : TopLevelWindows()) {
    DWORD owner = 0;
    api::GetWindowThreadProcessId(window, &owner);
    const auto request = std::find_if(requests.begin(), requests.end(),
                                      [owner](const Request& r) { return r.program->processId == owner; });
    if (request == requests.end() || !IsUsersWindow(window)) continue;
    if (api::PostMessageA(window, WM_CLOSE, 0, 0)) request->asked = true;
  }
}

// The wait goes in short slices, so that the program's windows are seen to
// answer all along: the system greys out a window whose program has not
// looked at its messages for five seconds.
constexpr DWORD kSliceMs = 200;

// Waits until every process in `pending` has ended or `waitMs` has passed.
void WaitForEnd(std::vector<HANDLE> pending, DWORD waitMs) {
  const DWORD start = api::GetTickCount();
  while (!pending.empty()) {
    const DWORD spent = api::GetTickCount() - start;
    if (spent >= waitMs) return;
    const DWORD count = std::min(static_cast<DWORD>(pending.size()), kMostProcessesWaitedAtOnce);
    const DWORD slice = std::min(waitMs - spent, kSliceMs);
    const DWORD woke =
        api::MsgWaitForMultipleObjects(count, pending.data(), FALSE, slice, QS_SENDMESSAGE | QS_PAINT);
    if (woke < WAIT_OBJECT_0 + count) {
      pending.erase(pending.begin() + (woke - WAIT_OBJECT_0));
    } else if (woke == WAIT_OBJECT_0 + count || woke == WAIT_TIMEOUT) {
      AnswerSentMessagesAndRepaint();
    } else {
      return;  // the wait failed
    }
  }
}

}  // namespace

std::vector<CloseOutcome> AskToClose(const std::vector<RunningProgram>& programs, DWORD waitMs) {
  // Opened before anything is posted, so that each handle is the process asked.
  std::vector<Request> requests;
  for (const RunningProgram& program : programs) {
    requests.push_back(Request{&program, KernelHandle(api::OpenProcess(SYNCHRONIZE, FALSE, program.processId)), false});
  }
  PostClose(requests);
  std::vector<HANDLE> pending;
  for (const Request& request : requests) {
    if (request.asked && request.process) pending.push_back(request.process.Get());
  }
  WaitForEnd(pending, waitMs);
  std::vector<CloseOutcome> outcomes;
  for (const Request& request : requests) {
    const bool ended = request.process && api::WaitForSingleObject(request.process.Get(), 0) == WAIT_OBJECT_0;
    outcomes.push_back({request.program->file, request.asked, ended});
  }
  return outcomes;
}

}  // namespace qvn
