#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/ProgramRun.h"
#include "tests/fakes/SimulatedPlatform.h"

namespace {

const wchar_t kShortcut[] = L"C:\\Documents and Settings\\All Users\\Desktop\\Quorvane.lnk";

// The entry points of `bound` that the running family must never use. The
// NT family keeps names in Unicode and converts them for an 8-bit form with
// best fit, so there every 8-bit form is wrong but these, whose texts are the
// program's own or only shown. 95/98/ME lack most wide forms.
std::vector<std::string> FormsOfTheOtherFamily(const std::vector<std::string>& bound, bool ntFamily) {
  static const std::set<std::string> kHarmlessOnNt = {
      "GetVersionExA",                                    // numbers only
      "RegOpenKeyExA", "RegDeleteKeyA", "RegEnumKeyExA",  // the program's own keys, named in ASCII
      "GetComputerNameA",                                 // for the log's lines
      "MessageBoxA",                                      // shown, '?' for what the code page lacks
  };
  std::vector<std::string> wrong;
  for (const std::string& name : bound) {
    const bool eightBit = name.back() == 'A';
    if (ntFamily ? eightBit && kHarmlessOnNt.count(name) == 0 : name.back() == 'W') wrong.push_back(name);
  }
  return wrong;
}

// The program started from its command line, as a deployment tool or a user
// starts it. Before any call that touches a file, a folder or a drive, the
// system's own error boxes are off (an empty card reader named anywhere would
// otherwise put up a "No Disk" box that nobody answers under /S), and a run
// without windows starts up and plans once: the log's place, the run and the
// log share that one plan. Each family names files in its own form.
TEST(ProgramRun, TurnsTheSystemsErrorBoxesOffFirstAndPlansOnce) {
  struct Case {
    const wchar_t* commandLine;
    int exitCode;
    bool windows;  // the interactive program was shown
    bool removed;
    bool logHeld = false;  // another program holds the log without sharing it
    bool ntFamily = true;
  };
  const Case cases[] = {
      {L"QvnRemove.exe /S /LOG=C:\\logs\\qvn.log", 3010, false, true},
      {L"QvnRemove.exe /WHATIF /S /LOG=C:\\logs\\qvn.log", 0, false, false},
      {L"QvnRemove.exe /S \"/LOG=\\\\localhost\\C$\\Program Files\\Quorvane\\qvn.log\"", 87, false, false},
      {L"QvnRemove.exe /LOG=C:\\logs\\qvn.log", 0, true, false},
      // A viewer that locks the shared log: try again later, not "fix the path".
      {L"QvnRemove.exe /S /LOG=C:\\logs\\qvn.log", 1618, false, false, true},
      {L"QvnRemove.exe /S /LOG=C:\\logs\\qvn.log", 3010, false, true, false, /*ntFamily=*/false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.commandLine, c.commandLine + std::wcslen(c.commandLine)));
    SimulatedPlatform platform;
    if (!c.ntFamily) platform.RunAs(1, 4, 10);
    const std::wstring shortcut = c.ntFamily ? kShortcut : L"C:\\Windows\\Desktop\\Quorvane.lnk";
    platform.drive.AddFile(shortcut);
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
    EXPECT_EQ(platform.objectsCreated.size(), 1u) << "one start-up and one plan";
    EXPECT_EQ(platform.drive.Exists(shortcut), !c.removed);
    EXPECT_EQ(FormsOfTheOtherFamily(platform.bound, c.ntFamily), std::vector<std::string>{});
  }
}

}  // namespace
