// Times QvnRemove against its baselines from inside Wine and prints one line
// of numbers per measurement for scripts/bench to gather.
//   startup [PROGRAM]   "startup TOOL_MS BASELINE_MS", PROGRAM being another
//                       build of QvnRemove in the bench folder (default QvnRemove.exe)
//   removal-tool [PROGRAM]
//                       "removal-tool MS PEAK_WORKING_SET_BYTES", PROGRAM
//                       being another build of QvnRemove in the bench folder
//                       (default QvnRemove.exe)
//   removal-rd          "removal-rd MS"
//   check-tool          "check-tool MS": the in-use check alone, walking the
//                       whole tree to a held file that it reaches last
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <optional>
#include <string>

#include "tests/e2e/ProgramDriver.h"

namespace {

const char kFolder[] = "C:\\qvn-bench";
const char kTree[] = "C:\\Program Files\\Quorvane";

double NowMs() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  ::QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The main window counts as up once it is visible with both data labels filled.
bool MainWindowReady(HWND window) {
  if (window == nullptr || !::IsWindowVisible(window)) return false;
  for (const e2e::Control& control : e2e::ReadControls(window)) {
    if (control.text == "Label3" || control.text == "Label4") return false;
  }
  return true;
}

template <typename Ready>
double TimeUntil(double start, Ready ready) {
  while (!ready()) ::Sleep(1);
  return NowMs() - start;
}

// Presses "Start Removal Process" as soon as the main window is ready; returns
// when it was pressed.
double PressStartWhenReady(const e2e::RunningProgram& tool) {
  HWND main = nullptr;
  TimeUntil(NowMs(), [&] {
    main = tool.WaitForWindow("Remove Quorvane", 0);
    return MainWindowReady(main);
  });
  const double start = NowMs();
  e2e::Click(main, "Start Removal Process");
  return start;
}

void StoreInstallLocation() {
  HKEY key = nullptr;
  ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\TindlewaySystems\\Quorvane\\StartUp", 0, nullptr, 0,
                    KEY_ALL_ACCESS, nullptr, &key, nullptr);
  const std::string value = std::string(kTree) + "\\";
  ::RegSetValueExA(key, "twEXE", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
  ::RegCloseKey(key);
}

int Startup(const std::string& program) {
  double start = NowMs();
  e2e::RunningProgram tool({}, kFolder, program);
  HWND main = nullptr;
  const double toolMs = TimeUntil(start, [&] {
    main = tool.WaitForWindow("Remove Quorvane", 0);
    return MainWindowReady(main);
  });
  e2e::Click(main, "EXIT");
  tool.WaitForExit();

  start = NowMs();
  e2e::RunningProgram baseline({}, kFolder, "qvn_empty_window.exe");
  HWND empty = nullptr;
  const double baselineMs = TimeUntil(start, [&] {
    empty = baseline.WaitForWindow("Empty Window", 0);
    return empty != nullptr;
  });
  e2e::Close(empty);
  baseline.WaitForExit();
  std::printf("startup %.2f %.2f\n", toolMs, baselineMs);
  return 0;
}

int RemovalByTool(const std::string& program) {
  StoreInstallLocation();
  e2e::RunningProgram tool({}, kFolder, program);
  const double start = PressStartWhenReady(tool);
  HWND done = nullptr;
  const double ms = TimeUntil(start, [&] {
    done = tool.WaitForWindow("Completed", 0);
    return done != nullptr;
  });
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  ::GetProcessMemoryInfo(tool.Process(), &memory, sizeof memory);
  e2e::Close(done);
  tool.WaitUntilGone(done);
  e2e::Click(tool.WaitForWindow("Remove Quorvane"), "EXIT");
  tool.WaitForExit();
  const bool gone = ::GetFileAttributesA(kTree) == INVALID_FILE_ATTRIBUTES;
  std::printf("removal-tool %.2f %llu%s\n", ms, static_cast<unsigned long long>(memory.PeakWorkingSetSize),
              gone ? "" : " NOT-REMOVED");
  return gone ? 0 : 1;
}

// The file the tool's in-use check reaches last: the same walk, in the order
// the platform lists the entries.
std::string LastFileWalked(const std::string& folder) {
  std::string last;
  WIN32_FIND_DATAA found{};
  HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return last;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    const std::string path = folder + "\\" + name;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      last = path;
    } else if (std::string inside = LastFileWalked(path); !inside.empty()) {
      last = inside;
    }
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
  return last;
}

int CheckByTool() {
  StoreInstallLocation();
  HANDLE held = ::CreateFileA(LastFileWalked(kTree).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
  if (held == INVALID_HANDLE_VALUE) {
    std::printf("check-tool NOT-HELD\n");
    return 1;
  }
  e2e::RunningProgram tool({}, kFolder);
  const double start = PressStartWhenReady(tool);
  HWND prompt = nullptr;
  const double ms = TimeUntil(start, [&] {
    prompt = tool.WaitForWindow("QvnRemove", 0);
    return prompt != nullptr;
  });
  e2e::Click(prompt, "Cancel");
  tool.WaitUntilGone(prompt);
  e2e::Click(tool.WaitForWindow("Remove Quorvane"), "EXIT");
  tool.WaitForExit();
  ::CloseHandle(held);
  const bool kept = ::GetFileAttributesA(kTree) != INVALID_FILE_ATTRIBUTES;
  std::printf("check-tool %.2f%s\n", ms, kept ? "" : " REMOVED");
  return kept ? 0 : 1;
}

int RemovalByRd() {
  std::string command = std::string("cmd.exe /c rd /s /q \"") + kTree + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const double start = NowMs();
  if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, kFolder, &startup, &process)) {
    return 1;
  }
  ::WaitForSingleObject(process.hProcess, INFINITE);
  const double ms = NowMs() - start;
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  const bool gone = ::GetFileAttributesA(kTree) == INVALID_FILE_ATTRIBUTES;
  std::printf("removal-rd %.2f%s\n", ms, gone ? "" : " NOT-REMOVED");
  return gone ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "startup") return Startup(argc > 2 ? argv[2] : "QvnRemove.exe");
  if (mode == "removal-tool") return RemovalByTool(argc > 2 ? argv[2] : "QvnRemove.exe");
  if (mode == "removal-rd") return RemovalByRd();
  if (mode == "check-tool") return CheckByTool();
  std::fprintf(stderr, "usage: qvn_bench_driver startup [PROGRAM]|removal-tool [PROGRAM]|removal-rd|check-tool\n");
  return 2;
}
