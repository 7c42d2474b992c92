#include "ui/Window.h"

#include "services/AutomationError.h"
#include "services/Failure.h"
#include "services/Text.h"
#include "ui/ProgramFrame.h"
#include "ui/Twips.h"

namespace qvn {
namespace {

constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// A window owned by another (a prompt) is minimised with its owner, never alone.
constexpr DWORD kOwnedWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr int kApplicationIcon = 1;

struct Resolution {
  int x;
  int y;
};

Resolution ScreenResolution() {
  HDC screen = ::GetDC(nullptr);
  const Resolution resolution{::GetDeviceCaps(screen, LOGPIXELSX), ::GetDeviceCaps(screen, LOGPIXELSY)};
  ::ReleaseDC(nullptr, screen);
  return resolution;
}

DWORD ControlStyle(const ControlLayout& control) {
  switch (control.kind) {
    case ControlKind::Frame:
      return WS_CHILD | WS_VISIBLE | BS_GROUPBOX;
    case ControlKind::Button:
      return WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    case ControlKind::DefaultButton:
      return WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON;
    case ControlKind::Label:
      break;
  }
  // Static text wraps at word boundaries and clips at its box; no "&" prefixes,
  // so a folder name shows exactly as it is.
  return WS_CHILD | WS_VISIBLE | SS_NOPREFIX | (control.alignment == Alignment::Centre ? SS_CENTER : SS_LEFT);
}

const char* ControlClass(const ControlLayout& control) {
  return control.kind == ControlKind::Label ? "STATIC" : "BUTTON";
}

}  // namespace

Window::Window(ProgramFrame& frame, const char* className, const WindowLayout& layout, HWND owner)
    : frame_(frame), className_(className), layout_(layout), owner_(owner) {}

Window::~Window() {
  if (handle_ != nullptr) ::DestroyWindow(handle_);
}

bool Window::RegisterClassOnce() {
  WNDCLASSA existing{};
  if (::GetClassInfoA(frame_.Instance(), className_, &existing)) return true;
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = &Window::Procedure;
  windowClass.hInstance = frame_.Instance();
  windowClass.hIcon = ::LoadIconA(frame_.Instance(), MAKEINTRESOURCEA(kApplicationIcon));
  windowClass.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = className_;
  return ::RegisterClassA(&windowClass) != 0;
}

bool Window::Load() {
  if (IsLoaded()) return true;
  if (!RegisterClassOnce()) {
    frame_.ReportFailure(PlatformCallFailure("RegisterClassA", ::GetLastError()));
    return false;
  }
  const Resolution dpi = ScreenResolution();
  const DWORD style = owner_ != nullptr ? kOwnedWindowStyle : kWindowStyle;
  RECT bounds{0, 0, TwipsToPixels(layout_.clientWidth, dpi.x), TwipsToPixels(layout_.clientHeight, dpi.y)};
  ::AdjustWindowRectEx(&bounds, style, FALSE, 0);
  const int width = bounds.right - bounds.left;
  const int height = bounds.bottom - bounds.top;
  const int left = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int top = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  HWND created = ::CreateWindowExA(0, className_, ToAnsi(layout_.caption).c_str(), style, left, top, width, height,
                                   owner_, nullptr, frame_.Instance(), this);
  // A load that failed inside WM_CREATE was reported there; the frame tells
  // the user once.
  if (created == nullptr) frame_.ReportFailure(PlatformCallFailure("CreateWindowExA", ::GetLastError()));
  return IsLoaded();
}

void Window::Show() {
  ::ShowWindow(handle_, SW_SHOWNORMAL);
  // A user who presses Tab or Space at once gets the first button, whether
  // or not the system has activated the window yet.
  RestoreFocus();
  ::UpdateWindow(handle_);
}

void Window::BringForward() {
  if (::IsIconic(handle_)) ::ShowWindow(handle_, SW_RESTORE);
  ::SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  ::SetForegroundWindow(handle_);
}

void Window::Unload() {
  if (handle_ != nullptr) ::DestroyWindow(handle_);
}

void Window::CreateControls() {
  const Resolution dpi = ScreenResolution();
  fonts_.emplace_back(kWindowFont, dpi.y, /*fallBack=*/true);
  const HFONT windowFont = fonts_.front().Get();
  for (std::size_t i = 0; i < layout_.controlCount; ++i) {
    const ControlLayout& control = layout_.controls[i];
    HWND child = ::CreateWindowExA(
        0, ControlClass(control), ToAnsi(control.caption).c_str(), ControlStyle(control),
        TwipsToPixels(control.left, dpi.x), TwipsToPixels(control.top, dpi.y), TwipsToPixels(control.width, dpi.x),
        TwipsToPixels(control.height, dpi.y), handle_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
        frame_.Instance(), nullptr);
    HFONT font = windowFont;
    if (control.font != nullptr) {
      fonts_.emplace_back(*control.font, dpi.y, /*fallBack=*/false);
      font = fonts_.back().Get();
    }
    ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
}

void Window::SetControlText(int controlId, const std::wstring& text) {
  ::SetWindowTextA(::GetDlgItem(handle_, controlId), ToAnsi(text).c_str());
}

// A removal answers what is sent to its windows while it runs; a click sent
// to a button (BM_CLICK from another program) or a close sent by Task
// Manager would otherwise start a second removal inside the first, or
// destroy the window the removal reports to. A prompt the removal shows is
// owned, and answers as it always does.
bool Window::HeldByRemoval() const { return owner_ == nullptr && frame_.Removing(); }

void Window::RestoreFocus() {
  if (focused_ != nullptr && ::IsChild(handle_, focused_)) {
    ::SetFocus(focused_);
    return;
  }
  HWND first = ::GetNextDlgTabItem(handle_, nullptr, FALSE);
  if (first != nullptr) ::SetFocus(first);
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      CreateControls();
      OnLoad();
      return 0;
    case WM_COMMAND:
      // Enter and Esc reach here as IDOK and IDCANCEL from the dialog keys,
      // with no control behind them: only the buttons' own clicks count (the
      // in-use prompt reads Enter and Esc itself).
      if (HIWORD(wParam) == BN_CLICKED && lParam != 0 && !HeldByRemoval()) OnClick(LOWORD(wParam));
      return 0;
    case WM_CLOSE:
      if (HeldByRemoval()) return 0;
      return ::DefWindowProcA(handle_, message, wParam, lParam);
    case WM_QUERYENDSESSION:
      return frame_.SessionMayEnd() ? TRUE : FALSE;
    case WM_CTLCOLORSTATIC:
      ::SetBkColor(reinterpret_cast<HDC>(wParam), ::GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        focused_ = ::GetFocus();
      } else if (HIWORD(wParam) == 0) {  // activated and not minimised
        RestoreFocus();
      }
      return 0;
    case WM_SETFOCUS:
      RestoreFocus();
      return 0;
    case WM_DESTROY:
      OnUnload();
      return 0;
    default:
      return ::DefWindowProcA(handle_, message, wParam, lParam);
  }
}

LRESULT CALLBACK Window::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->handle_ = window;
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<Window*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  }
  if (self == nullptr) return ::DefWindowProcA(window, message, wParam, lParam);

  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    self->handle_ = nullptr;
    self->focused_ = nullptr;
    self->fonts_.clear();
    self->frame_.WindowClosed();
    return ::DefWindowProcA(window, message, wParam, lParam);
  }

  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    self->frame_.ReportCaughtFailure();
  }
  return message == WM_CREATE ? -1 : 0;
}

}  // namespace qvn
