#pragma once
#include <memory>

#include "services/Failure.h"
#include "services/PlatformTypes.h"

namespace qvn {

class MenuForm;
class RemoveComplete;
class RemovalLog;

// Starts the tool with its main window, delivers events one at a time until no
// window remains, and reports a failure that reaches it before ending at once.
class ProgramFrame {
 public:
  // `log`, when given (/LOG), records what the windows do.
  explicit ProgramFrame(HINSTANCE instance, RemovalLog* log = nullptr);
  ~ProgramFrame();
  ProgramFrame(const ProgramFrame&) = delete;
  ProgramFrame& operator=(const ProgramFrame&) = delete;

  // Returns the program's exit code: 0, or 1 after a reported failure.
  int Run();

  HINSTANCE Instance() const { return instance_; }
  RemovalLog* Log() const { return log_; }
  bool IsNtFamily() const;

  // Shows the completion window modeless: anew when it is not open, brought
  // forward when it is.
  void ShowCompletion();
  void UnloadMain();
  // Takes input away from the main and completion windows while a prompt
  // asks, as a task-modal box does, and gives it back.
  void EnableWindows(bool enabled);

  // Called by a window when it is gone: the program ends with the last one.
  void WindowClosed();

  // Shows the failure; when the user dismisses it, closes every window and
  // ends the event loop. Never throws.
  void ReportFailure(const Failure& failure) noexcept;
  // The same for the exception being handled, from a catch block at a window
  // procedure's edge. Never throws, even when describing it runs out of memory.
  void ReportCaughtFailure() noexcept;

 private:
  bool AnyWindowLoaded() const;
  bool RoutesToDialogKeys(MSG& message);

  HINSTANCE instance_;
  RemovalLog* log_;
  std::unique_ptr<MenuForm> menu_;
  std::unique_ptr<RemoveComplete> complete_;
  bool failed_ = false;
};

}  // namespace qvn
