#pragma once
#include <memory>

#include "services/Failure.h"
#include "services/PlatformTypes.h"

namespace qvn {

class MenuForm;
class RemoveComplete;
class RemovalLog;
class RemovalWatch;

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

  // A removal runs while this lives, watched by `watch`. Its windows answer
  // what is sent to them meanwhile: the main and completion windows then
  // take no command and do not close, so that nothing runs inside the
  // removal but painting and answers, and the session may end only when the
  // watch allows it.
  class RemovalRunning {
   public:
    RemovalRunning(ProgramFrame& frame, const RemovalWatch& watch) : frame_(frame) { frame_.watch_ = &watch; }
    ~RemovalRunning() { frame_.watch_ = nullptr; }
    RemovalRunning(const RemovalRunning&) = delete;
    RemovalRunning& operator=(const RemovalRunning&) = delete;

   private:
    ProgramFrame& frame_;
  };
  bool Removing() const { return watch_ != nullptr; }
  // The answer to WM_QUERYENDSESSION.
  bool SessionMayEnd() const;

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
  const RemovalWatch* watch_ = nullptr;
  bool failed_ = false;
};

}  // namespace qvn
