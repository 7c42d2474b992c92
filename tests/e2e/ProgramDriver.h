#pragma once
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

// Drives the real QvnRemove.exe from outside, as a user would: finds its
// windows, reads what they show, presses buttons, answers message boxes.
namespace e2e {

struct Control {
  int id;
  std::string className;
  std::string text;
  RECT rect;  // in the parent's client coordinates
  LONG style;
};

struct ControlFont {
  int id;
  bool read;
  LOGFONTA font;
  SIZE caption;  // what its caption takes, drawn with that font as the control draws it
  SIZE client;   // the control's client area
};

struct MessageBoxSeen {
  HWND handle;
  std::string title;
  std::string text;
};

// A hook procedure of the test probe DLL, installed for as long as this
// lives: for the thread `threadId`, or for every thread on the desktop when it
// is 0. "RefuseMainWindow" (WH_CBT) makes the program's main window fail to
// be created. Fails on one architecture only if the probe's exports carry
// i686's stdcall decoration ("ProbeFonts@12"); the link drops it, and
// tests/product/check-exports checks so on either path.
class ProbeHook {
 public:
  ProbeHook(int type, const char* procedure, DWORD threadId);
  ~ProbeHook();
  ProbeHook(const ProbeHook&) = delete;
  ProbeHook& operator=(const ProbeHook&) = delete;

 private:
  HMODULE probe_;
  HHOOK hook_;
};

class RunningProgram {
 public:
  // Starts `program` (QvnRemove.exe) from `folder`, with that folder as its working
  // folder and `arguments` after its quoted name; `environment` entries
  // ("NAME=value") are added for the program's process only.
  explicit RunningProgram(const std::vector<std::string>& environment = {},
                          const std::string& folder = "C:\\qvn-e2e", const std::string& program = "QvnRemove.exe",
                          const std::string& arguments = "");
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  DWORD ThreadId() const { return process_.dwThreadId; }
  HANDLE Process() const { return process_.hProcess; }

  // A visible top-level window of the program with this caption.
  HWND WaitForWindow(const char* caption, DWORD timeoutMs = 15000) const;
  bool WaitUntilGone(HWND window, DWORD timeoutMs = 10000) const;
  int CountWindows(const char* caption) const;
  // Any visible top-level window of the program, message boxes included.
  bool ShowsAnyWindow() const;

  std::optional<MessageBoxSeen> WaitForMessageBox(DWORD timeoutMs = 10000) const;
  // Presses the box's button `button` (IDOK, IDRETRY, IDCANCEL...) and waits
  // until the box is gone.
  void Dismiss(const MessageBoxSeen& box, int button = IDOK) const;

  bool WaitForExit(DWORD timeoutMs = 15000) const;
  DWORD ExitCode() const;

  // The font of each child of `window` and the size its caption takes with
  // it, read inside the program's thread; a message box's children too.
  std::vector<ControlFont> ReadFonts(HWND window) const;

 private:
  PROCESS_INFORMATION process_{};
};

std::vector<Control> ReadControls(HWND window);
const Control* FindControl(const std::vector<Control>& controls, const std::string& text);
SIZE ClientSize(HWND window);

// Presses a button of `window` by its caption, with a posted BM_CLICK.
void Click(HWND window, const std::string& buttonText);
// The window's own close control: WM_CLOSE, as the title bar's close box sends.
void Close(HWND window);

// Saves what `window` shows on screen as a 24-bit BMP.
bool SaveScreenshot(HWND window, const std::string& path);

}  // namespace e2e
