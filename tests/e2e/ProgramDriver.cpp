#include "tests/e2e/ProgramDriver.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <tlhelp32.h>

namespace e2e {
namespace {

const char kFolder[] = "C:\\qvn-e2e";
constexpr DWORD kPollMs = 50;

struct Search {
  DWORD processId;
  const char* caption;  // null: any message box
  std::vector<HWND> found;
};

std::string TextOf(HWND window) {
  char text[1024] = {};
  ::GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string LastError() { return "error " + std::to_string(::GetLastError()); }

std::string ClassOf(HWND window) {
  char name[128] = {};
  ::GetClassNameA(window, name, sizeof name);
  return name;
}

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM context) {
  Search& search = *reinterpret_cast<Search*>(context);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner != search.processId || !::IsWindowVisible(window)) return TRUE;
  const bool wanted = search.caption != nullptr ? TextOf(window) == search.caption : ClassOf(window) == "#32770";
  if (wanted) search.found.push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectVisible(HWND window, LPARAM context) {
  Search& search = *reinterpret_cast<Search*>(context);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner == search.processId && ::IsWindowVisible(window)) search.found.push_back(window);
  return TRUE;
}

std::vector<HWND> TopLevel(DWORD processId, const char* caption) {
  Search search{processId, caption, {}};
  ::EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string NameOf(const std::string& entry) {
  std::string name = entry.substr(0, entry.find('=', 1));
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return name;
}

// The current environment with `extra` entries in place of any of the same
// name, as CreateProcess takes it.
std::vector<char> EnvironmentWith(const std::vector<std::string>& extra) {
  std::vector<std::string> entries;
  char* current = ::GetEnvironmentStringsA();
  for (const char* entry = current; *entry != '\0'; entry += std::strlen(entry) + 1) {
    const std::string name = NameOf(entry);
    const bool replaced = std::any_of(extra.begin(), extra.end(), [&](const std::string& e) { return NameOf(e) == name; });
    if (!replaced) entries.emplace_back(entry);
  }
  ::FreeEnvironmentStringsA(current);
  entries.insert(entries.end(), extra.begin(), extra.end());
  std::vector<char> block;
  for (const std::string& entry : entries) block.insert(block.end(), entry.c_str(), entry.c_str() + entry.size() + 1);
  block.push_back('\0');
  return block;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM context) {
  auto& controls = *reinterpret_cast<std::pair<HWND, std::vector<Control>*>*>(context);
  RECT rect{};
  ::GetWindowRect(child, &rect);
  ::MapWindowPoints(nullptr, controls.first, reinterpret_cast<POINT*>(&rect), 2);
  controls.second->push_back({::GetDlgCtrlID(child), ClassOf(child), TextOf(child), rect,
                              static_cast<LONG>(::GetWindowLongA(child, GWL_STYLE))});
  return TRUE;
}

bool WinebootRunning() {
  const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  bool running = false;
  for (BOOL more = ::Process32First(snapshot, &entry); more && !running; more = ::Process32Next(snapshot, &entry)) {
    running = ::lstrcmpiA(entry.szExeFile, "wineboot.exe") == 0;
  }
  ::CloseHandle(snapshot);
  return running;
}

// Wine carries out a restart that an earlier run asked for with wineboot,
// which ends every program with a window while it runs; a program started
// meanwhile would vanish. Waits for it, up to 10 s.
void WaitForRestartToFinish() {
  for (DWORD waited = 0; waited < 10000 && WinebootRunning(); waited += kPollMs) ::Sleep(kPollMs);
}

}  // namespace

RunningProgram::RunningProgram(const std::vector<std::string>& environment, const std::string& folder,
                               const std::string& name, const std::string& arguments) {
  WaitForRestartToFinish();
  std::vector<char> block = EnvironmentWith(environment);
  const std::string program = folder + "\\" + name;
  std::string command = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (!::CreateProcessA(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, block.data(), folder.c_str(),
                        &startup, &process_)) {
    throw std::runtime_error("cannot start " + program);
  }
}

RunningProgram::~RunningProgram() {
  if (::WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
    ::TerminateProcess(process_.hProcess, 99);
    ::WaitForSingleObject(process_.hProcess, 5000);
  }
  ::CloseHandle(process_.hThread);
  ::CloseHandle(process_.hProcess);
}

HWND RunningProgram::WaitForWindow(const char* caption, DWORD timeoutMs) const {
  for (DWORD waited = 0; waited <= timeoutMs; waited += kPollMs) {
    std::vector<HWND> found = TopLevel(process_.dwProcessId, caption);
    if (!found.empty()) return found.front();
    ::Sleep(kPollMs);
  }
  return nullptr;
}

bool RunningProgram::WaitUntilGone(HWND window, DWORD timeoutMs) const {
  for (DWORD waited = 0; waited <= timeoutMs; waited += kPollMs) {
    if (!::IsWindow(window)) return true;
    ::Sleep(kPollMs);
  }
  return false;
}

bool RunningProgram::ShowsAnyWindow() const {
  Search search{process_.dwProcessId, nullptr, {}};
  ::EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&search));
  return !search.found.empty();
}

int RunningProgram::CountWindows(const char* caption) const {
  return static_cast<int>(TopLevel(process_.dwProcessId, caption).size());
}

std::optional<MessageBoxSeen> RunningProgram::WaitForMessageBox(DWORD timeoutMs) const {
  for (DWORD waited = 0; waited <= timeoutMs; waited += kPollMs) {
    std::vector<HWND> boxes = TopLevel(process_.dwProcessId, nullptr);
    if (!boxes.empty()) {
      HWND box = boxes.front();
      return MessageBoxSeen{box, TextOf(box), TextOf(::GetDlgItem(box, 0xFFFF))};
    }
    ::Sleep(kPollMs);
  }
  return std::nullopt;
}

void RunningProgram::Dismiss(const MessageBoxSeen& box, int button) const {
  ::PostMessageA(::GetDlgItem(box.handle, button), BM_CLICK, 0, 0);
  WaitUntilGone(box.handle);
}

bool RunningProgram::WaitForExit(DWORD timeoutMs) const {
  return ::WaitForSingleObject(process_.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

DWORD RunningProgram::ExitCode() const {
  DWORD code = 0;
  ::GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

ProbeHook::ProbeHook(int type, const char* procedure, DWORD threadId) {
  probe_ = ::LoadLibraryA("C:\\qvn-e2e\\qvn_e2e_probe.dll");
  if (probe_ == nullptr) throw std::runtime_error("LoadLibraryA(qvn_e2e_probe.dll) failed: " + LastError());
  auto hook = reinterpret_cast<HOOKPROC>(reinterpret_cast<void (*)()>(::GetProcAddress(probe_, procedure)));
  if (hook == nullptr) {
    const std::string error = LastError();
    ::FreeLibrary(probe_);
    throw std::runtime_error(std::string("GetProcAddress(probe, \"") + procedure + "\") failed: " + error);
  }
  hook_ = ::SetWindowsHookExA(type, hook, probe_, threadId);
  if (hook_ == nullptr) {
    const std::string error = LastError();
    ::FreeLibrary(probe_);
    throw std::runtime_error("SetWindowsHookExA(" + std::to_string(type) + ", " + procedure + ") failed: " + error);
  }
}

ProbeHook::~ProbeHook() {
  ::UnhookWindowsHookEx(hook_);
  ::FreeLibrary(probe_);
}

std::vector<ControlFont> RunningProgram::ReadFonts(HWND window) const {
  static unsigned requests = 0;
  const unsigned request = ++requests;
  const ProbeHook probe(WH_GETMESSAGE, "ProbeFonts", process_.dwThreadId);
  ::PostMessageA(window, ::RegisterWindowMessageA("QvnRemoveE2eFontProbe"), request, 0);
  const std::string path = std::string(kFolder) + "\\fonts-" + std::to_string(request) + ".txt";
  std::vector<ControlFont> fonts;
  for (DWORD waited = 0; waited <= 10000 && ::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES;
       waited += kPollMs) {
    ::Sleep(kPollMs);
  }
  std::ifstream input(path);
  for (std::string line; std::getline(input, line);) {
    ControlFont entry{};
    int read = 0, charset = 0, italic = 0, underline = 0, strikeOut = 0;
    char face[LF_FACESIZE] = {};
    if (std::sscanf(line.c_str(), "%d|%d|%ld|%ld|%d|%d|%d|%d|%ld|%ld|%ld|%ld|%31[^\n]", &entry.id, &read,
                    &entry.font.lfHeight, &entry.font.lfWeight, &charset, &italic, &underline, &strikeOut,
                    &entry.caption.cx, &entry.caption.cy, &entry.client.cx, &entry.client.cy, face) >= 12) {
      entry.read = read != 0;
      entry.font.lfCharSet = static_cast<BYTE>(charset);
      entry.font.lfItalic = static_cast<BYTE>(italic);
      entry.font.lfUnderline = static_cast<BYTE>(underline);
      entry.font.lfStrikeOut = static_cast<BYTE>(strikeOut);
      std::strncpy(entry.font.lfFaceName, face, LF_FACESIZE - 1);
      fonts.push_back(entry);
    }
  }
  input.close();
  ::DeleteFileA(path.c_str());
  return fonts;
}

std::vector<Control> ReadControls(HWND window) {
  std::vector<Control> controls;
  std::pair<HWND, std::vector<Control>*> context{window, &controls};
  ::EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&context));
  return controls;
}

const Control* FindControl(const std::vector<Control>& controls, const std::string& text) {
  for (const Control& control : controls) {
    if (control.text == text) return &control;
  }
  return nullptr;
}

SIZE ClientSize(HWND window) {
  RECT client{};
  ::GetClientRect(window, &client);
  return {client.right - client.left, client.bottom - client.top};
}

void Click(HWND window, const std::string& buttonText) {
  HWND button = ::FindWindowExA(window, nullptr, "Button", buttonText.c_str());
  if (button == nullptr) throw std::runtime_error("no button " + buttonText);
  ::PostMessageA(button, BM_CLICK, 0, 0);
}

void Close(HWND window) { ::PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); }

bool SaveScreenshot(HWND window, const std::string& path) {
  // A window just seen may not have painted yet (a message box's text comes
  // after its frame): have it paint, and give its thread a moment.
  ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  ::Sleep(200);
  RECT bounds{};
  ::GetWindowRect(window, &bounds);
  const int width = bounds.right - bounds.left;
  const int height = bounds.bottom - bounds.top;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* pixels = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  HGDIOBJ previous = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, width, height, screen, bounds.left, bounds.top, SRCCOPY);
  ::GdiFlush();
  const DWORD rowBytes = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  const DWORD imageBytes = rowBytes * static_cast<DWORD>(height);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + imageBytes;
  std::ofstream output(path, std::ios::binary);
  output.write(reinterpret_cast<const char*>(&file), sizeof file);
  output.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
  output.write(static_cast<const char*>(pixels), imageBytes);
  ::SelectObject(memory, previous);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return output.good();
}

}  // namespace e2e
