#include "ui/ProgramFrame.h"

#include "app/RemovalLog.h"
#include "app/ToolState.h"
#include "services/AutomationError.h"
#include "services/MessageBox.h"
#include "ui/FailureReport.h"
#include "ui/MenuForm.h"
#include "ui/RemovalWatch.h"
#include "ui/RemoveComplete.h"

namespace qvn {

ProgramFrame::ProgramFrame(HINSTANCE instance, RemovalLog* log) : instance_(instance), log_(log) {}

ProgramFrame::~ProgramFrame() = default;

int ProgramFrame::Run() {
  menu_ = std::make_unique<MenuForm>(*this);
  if (menu_->Load() && !failed_) menu_->Show();
  MSG message;
  while (AnyWindowLoaded() && ::GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (RoutesToDialogKeys(message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  ProgramToolState().FileSys.reset();
  return failed_ ? 1 : 0;
}

// Tab, Shift+Tab and Space move between and press the buttons of whichever
// window the message is for.
bool ProgramFrame::RoutesToDialogKeys(MSG& message) {
  for (Window* window : {static_cast<Window*>(menu_.get()), static_cast<Window*>(complete_.get())}) {
    if (window == nullptr || !window->IsLoaded()) continue;
    HWND handle = window->Handle();
    if ((message.hwnd == handle || ::IsChild(handle, message.hwnd)) && ::IsDialogMessageA(handle, &message)) {
      return true;
    }
  }
  return false;
}

bool ProgramFrame::IsNtFamily() const {
  return ProgramToolState().VersionInfo.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

void ProgramFrame::ShowCompletion() {
  if (!complete_) complete_ = std::make_unique<RemoveComplete>(*this);
  if (complete_->IsLoaded()) {
    complete_->BringForward();
  } else if (complete_->Load()) {
    complete_->Show();
  }
}

void ProgramFrame::UnloadMain() {
  if (menu_) menu_->Unload();
}

void ProgramFrame::EnableWindows(bool enabled) {
  for (Window* window : {static_cast<Window*>(menu_.get()), static_cast<Window*>(complete_.get())}) {
    if (window != nullptr && window->IsLoaded()) ::EnableWindow(window->Handle(), enabled ? TRUE : FALSE);
  }
}

bool ProgramFrame::AnyWindowLoaded() const {
  return (menu_ && menu_->IsLoaded()) || (complete_ && complete_->IsLoaded());
}

bool ProgramFrame::SessionMayEnd() const { return watch_ == nullptr || watch_->SessionMayEnd(); }

void ProgramFrame::WindowClosed() {
  if (!AnyWindowLoaded()) ::PostQuitMessage(failed_ ? 1 : 0);
}

void ProgramFrame::ReportFailure(const Failure& failure) noexcept {
  if (failed_) return;
  failed_ = true;
  try {
    if (log_ != nullptr) log_->Stopped(failure);
    const FailureReport report = DescribeFailure(failure);
    ShowMessageBox(nullptr, report.text, report.title, MB_OK | MB_ICONERROR);
  } catch (...) {
    // Nothing is left to tell the user with; the program still ends.
  }
  if (complete_) complete_->Unload();
  if (menu_) menu_->Unload();
  ::PostQuitMessage(1);
}

void ProgramFrame::ReportCaughtFailure() noexcept {
  try {
    ReportFailure(CaughtFailure());
  } catch (...) {
    // Describing the failure took memory there was none of; an empty text
    // takes none.
    ReportFailure(Failure(static_cast<std::int32_t>(ErrorNumber::OutOfMemory), std::wstring()));
  }
}

}  // namespace qvn
