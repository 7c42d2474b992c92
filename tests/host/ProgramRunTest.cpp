#include <gtest/gtest.h>

#include "app/ProgramRun.h"
#include "tests/fakes/SimulatedPlatform.h"

namespace {

const wchar_t kShortcut[] = L"C:\\Documents and Settings\\All Users\\Desktop\\Quorvane.lnk";

// The program started from its command line, as a deployment tool or a user
// starts it. Before any call that touches a file, a folder or a drive, the
// system's own error boxes are off (an empty card reader named anywhere would
// otherwise put up a "No Disk" box that nobody answers under /S), and a run
// without windows starts up and plans once: the log's place, the run and the
// log share that one plan.
TEST(ProgramRun, TurnsTheSystemsErrorBoxesOffFirstAndPlansOnce) {
  struct Case {
    const wchar_t* commandLine;
    int exitCode;
    bool windows;  // the interactive program was shown
    bool removed;
    bool logHeld = false;  // another program holds the log without sharing it
  };
  const Case cases[] = {
      {L"QvnRemove.exe /S /LOG=C:\\logs\\qvn.log", 3010, false, true},
      {L"QvnRemove.exe /WHATIF /S /LOG=C:\\logs\\qvn.log", 0, false, false},
      {L"QvnRemove.exe /S \"/LOG=\\\\localhost\\C$\\Program Files\\Quorvane\\qvn.log\"", 87, false, false},
      {L"QvnRemove.exe /LOG=C:\\logs\\qvn.log", 0, true, false},
      // A viewer that locks the shared log: try again later, not "fix the path".
      {L"QvnRemove.exe /S /LOG=C:\\logs\\qvn.log", 1618, false, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.commandLine, c.commandLine + std::wcslen(c.commandLine)));
    SimulatedPlatform platform;
    platform.drive.AddFile(kShortcut);
    platform.drive.AddFile(L"C:\\Program Files\\Quorvane\\Quorvane.exe");
    platform.registry.SetString("SOFTWARE\\TindlewaySystems\\Quorvane\\StartUp", "twEXE", "C:\\Program Files\\Quorvane\\");
    platform.drive.AddFolder(L"C:\\logs");
    if (c.logHeld) {
      platform.drive.AddFile(L"C:\\logs\\qvn.log");
      platform.drive.HoldOpen(L"C:\\logs\\qvn.log");
    }
    bool shown = false;
    const int exitCode = qvn::RunProgram(c.commandLine, [&](qvn::RemovalLog*) {
      shown = true;
      return true;
    });
    EXPECT_EQ(exitCode, c.exitCode);
    EXPECT_EQ(shown, c.windows);
    EXPECT_EQ(platform.errorMode, SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    EXPECT_TRUE(platform.fileCallsBeforeErrorMode.empty()) << platform.fileCallsBeforeErrorMode.front();
    // Each plan asks the shell where its two folders are.
    EXPECT_EQ(platform.CallCount("SHGetSpecialFolderPathA") + platform.CallCount("SHGetSpecialFolderPathW"), 2)
        << "one start-up and one plan";
    EXPECT_EQ(platform.drive.Exists(kShortcut), !c.removed);
  }
}

}  // namespace
