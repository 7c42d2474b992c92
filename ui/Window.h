#pragma once
#include <string>
#include <vector>

#include "services/PlatformTypes.h"
#include "ui/Font.h"
#include "ui/FormLayout.h"

namespace qvn {

class ProgramFrame;

// One top-level window of the tool, built from its layout table. Its window
// procedure is the boundary no exception crosses: a failure in any handler is
// handed to the program frame, which reports it and ends the program.
class Window {
 public:
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  bool IsLoaded() const { return handle_ != nullptr; }
  HWND Handle() const { return handle_; }

  // Creates the window and its controls and runs its load; false when the
  // window could not be made or its load failed (the failure is already
  // reported to the frame).
  bool Load();
  void Show();
  void BringForward();
  void Unload();

 protected:
  // `owner`, when given, is the window this one stays above (a prompt's).
  Window(ProgramFrame& frame, const char* className, const WindowLayout& layout, HWND owner = nullptr);

  virtual void OnLoad() {}
  virtual void OnClick(int /*controlId*/) {}
  virtual void OnUnload() {}

  void SetControlText(int controlId, const std::wstring& text);
  ProgramFrame& Frame() { return frame_; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  bool RegisterClassOnce();
  void CreateControls();
  // Puts the keyboard focus back where it was, or on the first button.
  void RestoreFocus();
  // Takes no command and does not close: a removal runs on.
  bool HeldByRemoval() const;

  ProgramFrame& frame_;
  const char* className_;
  const WindowLayout& layout_;
  HWND owner_;
  HWND handle_ = nullptr;
  HWND focused_ = nullptr;
  std::vector<Font> fonts_;
};

}  // namespace qvn
