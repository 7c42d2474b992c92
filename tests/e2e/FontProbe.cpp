// Loaded into the program's own GUI thread through a message hook, because
// Wine does not answer WM_GETFONT across processes: on the driver's request it
// writes, for every child control of the window the request was posted to,
// its id and the LOGFONT of the font it uses, to the file the request names.

#include <windows.h>

#include <cstdio>

namespace {

const UINT kProbeRequest = ::RegisterWindowMessageA("QvnRemoveE2eFontProbe");

BOOL CALLBACK WriteFont(HWND control, LPARAM output) {
  LOGFONTA font{};
  HFONT handle = reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0));
  const int read = handle != nullptr ? ::GetObjectA(handle, sizeof font, &font) : 0;
  std::fprintf(reinterpret_cast<FILE*>(output), "%d|%d|%ld|%ld|%d|%d|%d|%d|%s\n", ::GetDlgCtrlID(control),
               read != 0 ? 1 : 0, font.lfHeight, font.lfWeight, font.lfCharSet, font.lfItalic, font.lfUnderline,
               font.lfStrikeOut, font.lfFaceName);
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
