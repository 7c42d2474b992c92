// Installed desktop-wide by the driver, so that it runs inside the program
// from its first window on: refuses to create the program's main window, the
// way a system out of window resources would, so that a test sees what the
// program does when CreateWindowExA fails. Every other window, the program's
// message boxes included, is created as usual.

#include <windows.h>

#include <cstring>

extern "C" __declspec(dllexport) LRESULT CALLBACK RefuseMainWindow(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    const CREATESTRUCTA* creation = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
    const char* caption = creation->lpszName;
    if (creation->hwndParent == nullptr && caption != nullptr && !IS_INTRESOURCE(caption) &&
        std::strcmp(caption, "Remove Quorvane") == 0) {
      return 1;
    }
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
