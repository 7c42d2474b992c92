// Loaded into the program's own GUI thread through a message hook, because
// Wine does not answer WM_GETFONT across processes: on the driver's request it
// writes, for every child control of the window the request was posted to,
// its id, the LOGFONT of the font it uses, the size its caption takes when
// drawn with that font the way the control draws it, and the control's client
// size, to the file the request names. A message box's modal loop runs the
// hook too, so the system's boxes can be probed as well.

#include <windows.h>

#include <cstdio>

namespace {

const UINT kProbeRequest = ::RegisterWindowMessageA("QvnRemoveE2eFontProbe");

// DrawText's formatting for the caption of `control`, as its class draws it:
// static text wraps at word boundaries unless its style says otherwise, a push
// button keeps one line unless it is multi-line. 0: a control that draws no
// text (an icon, a picture).
UINT CaptionFormat(HWND control) {
  char className[16] = {};
  ::GetClassNameA(control, className, sizeof className);
  const LONG style = ::GetWindowLongA(control, GWL_STYLE);
  const UINT common = DT_CALCRECT | DT_EXPANDTABS;
  if (::lstrcmpiA(className, "Static") == 0) {
    const UINT prefix = (style & SS_NOPREFIX) != 0 ? DT_NOPREFIX : 0;
    switch (style & SS_TYPEMASK) {
      case SS_LEFT:
      case SS_CENTER:
      case SS_RIGHT:
        return common | prefix | DT_WORDBREAK;
      case SS_SIMPLE:
      case SS_LEFTNOWORDWRAP:
        return common | prefix | DT_SINGLELINE;
      default:
        return 0;
    }
  }
  return common | ((style & BS_MULTILINE) != 0 ? DT_WORDBREAK : DT_SINGLELINE);
}

// The width and height the caption takes within the control's client width.
SIZE CaptionExtent(HWND control, HFONT font, const RECT& client) {
  char text[1024] = {};
  const int length = ::GetWindowTextA(control, text, sizeof text);
  const UINT format = CaptionFormat(control);
  if (length == 0 || format == 0) return {0, 0};
  HDC dc = ::GetDC(control);
  HGDIOBJ previous = ::SelectObject(dc, font != nullptr ? font : ::GetStockObject(SYSTEM_FONT));
  RECT extent{0, 0, client.right - client.left, 0};
  ::DrawTextA(dc, text, length, &extent, format);
  ::SelectObject(dc, previous);
  ::ReleaseDC(control, dc);
  return {extent.right - extent.left, extent.bottom - extent.top};
}

BOOL CALLBACK WriteFont(HWND control, LPARAM output) {
  LOGFONTA font{};
  HFONT handle = reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0));
  const int read = handle != nullptr ? ::GetObjectA(handle, sizeof font, &font) : 0;
  RECT client{};
  ::GetClientRect(control, &client);
  const SIZE caption = CaptionExtent(control, handle, client);
  std::fprintf(reinterpret_cast<FILE*>(output), "%d|%d|%ld|%ld|%d|%d|%d|%d|%ld|%ld|%ld|%ld|%s\n",
               ::GetDlgCtrlID(control), read != 0 ? 1 : 0, font.lfHeight, font.lfWeight, font.lfCharSet,
               font.lfItalic, font.lfUnderline, font.lfStrikeOut, caption.cx, caption.cy, client.right - client.left,
               client.bottom - client.top, font.lfFaceName);
  return TRUE;
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK ProbeFonts(int code, WPARAM wParam, LPARAM lParam) {
  MSG* message = reinterpret_cast<MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && message->message == kProbeRequest) {
    char path[MAX_PATH];
    std::snprintf(path, sizeof path, "C:\\qvn-e2e\\fonts-%lu.txt", static_cast<unsigned long>(message->wParam));
    char partial[MAX_PATH + 8];
    std::snprintf(partial, sizeof partial, "%s.part", path);
    if (FILE* output = std::fopen(partial, "w")) {
      ::EnumChildWindows(message->hwnd, WriteFont, reinterpret_cast<LPARAM>(output));
      std::fclose(output);
      ::MoveFileA(partial, path);
    }
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
