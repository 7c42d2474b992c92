// Plays the user's part in the headless demo: waits for the main window,
// takes its picture, presses "Start Removal Process", takes the completion
// window's picture and presses its restart button. Exit code 0 when the
// program went through all of it and ended.
#include <cstdio>

#include "tests/e2e/ProgramDriver.h"

namespace {

const char kFolder[] = "C:\\QvnRemove";

bool Step(bool done, const char* what) {
  std::printf("  %s %s\n", done ? "done:  " : "FAILED:", what);
  return done;
}

}  // namespace

int main() {
  e2e::RunningProgram program({}, kFolder);
  HWND main = program.WaitForWindow("Remove Quorvane");
  if (!Step(main != nullptr, "the main window opened")) return 1;
  ::Sleep(500);
  e2e::SaveScreenshot(main, "C:\\QvnRemove\\main-window.bmp");
  e2e::Click(main, "Start Removal Process");
  Step(true, "pressed \"Start Removal Process\"");
  HWND done = program.WaitForWindow("Completed");
  if (!Step(done != nullptr, "the completion window opened")) return 1;
  ::Sleep(500);
  e2e::SaveScreenshot(done, "C:\\QvnRemove\\completion-window.bmp");
  e2e::Click(done, "Press to restart the Computer");
  Step(true, "pressed \"Press to restart the Computer\"");
  return Step(program.WaitForExit() && program.ExitCode() == 0, "the program ended") ? 0 : 1;
}
