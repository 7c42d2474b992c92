#include <gtest/gtest.h>

#include <cwchar>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/OneRunAtATime.h"
#include "app/ProgramRun.h"
#include "tests/fakes/SimulatedPlatform.h"

namespace {

const wchar_t kShortcut[] = L"C:\\Documents and Settings\\All Users\\Desktop\\Quorvane.lnk";

using Other = SimulatedPlatform::NamedMutex::Other;
const char kGlobalTurn[] = "Global\\QvnRemove.RemovingQuorvane";
const char kSessionTurn[] = "QvnRemove.RemovingQuorvane";
const wchar_t kAnotherRun[] = L"Nothing was removed: another QvnRemove is removing Quorvane on this computer";

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
      "CreateMutexA", "OpenMutexA",                       // the program's own ASCII mutex name
  };
  std::vector<std::string> wrong;
  for (const std::string& name : bound) {
    const bool eightBit = name.back() == 'A';
    if (ntFamily ? eightBit && kHarmlessOnNt.count(name) == 0 : name.back() == 'W') wrong.push_back(name);
  }
  return wrong;
}

bool OwnsAnyMutex(const SimulatedPlatform& platform) {
  for (const auto& [name, mutex] : platform.mutexes) {
    if (mutex.ownedHere) return true;
  }
  return false;
}

// The program started from its command line, as a deployment tool or a user
// starts it. Before any call that touches a file, a folder or a drive, the
// system's own error boxes are off (an empty card reader named anywhere would
// otherwise put up a "No Disk" box that nobody answers under /S), and a run
// without windows starts up and plans once: the log's place, the run and the
// log share that one plan. One removal runs at a time: /S, and the windows'
// Start (pressed here at once), hold a named mutex to their end; another run
// holding it ends /S with 1618 and the Start with a message box, removing
// nothing; a command line not understood is 87 all the same, and /WHATIF and
// /? ask for no turn.
TEST(ProgramRun, TurnsErrorBoxesOffPlansOnceAndRemovesOneRunAtATime) {
  struct Case {
    const wchar_t* commandLine;
    int exitCode;
    bool windows;  // the interactive program was shown
    bool removed;
    bool logHeld = false;            // another program holds the log without sharing it
    const char* otherRun = nullptr;  // the mutex another run made, by its full name
    Other other = Other::Owns;       // what that run did with it
    const wchar_t* told = nullptr;   // what the log, else a message box, says
    void (*arrange)(SimulatedPlatform&) = [](SimulatedPlatform&) {};
  };
  const auto windows98 = [](SimulatedPlatform& p) { p.RunAs(1, 4, 10); };
  const auto nt4 = [](SimulatedPlatform& p) { p.RunAs(2, 4, 0); };
  const auto noGlobalNames = [](SimulatedPlatform& p) { p.globalNamesRefused = true; };
  const Case cases[] = {
      {L"QvnRemove.exe /S /LOG=C:\\logs\\qvn.log", 3010, false, true},
      {L"QvnRemove.exe /WHATIF /S /LOG=C:\\logs\\qvn.log", 0, false, false},
      {L"QvnRemove.exe /S \"/LOG=\\\\localhost\\C$\\Program Files\\Quorvane\\qvn.log\"", 87, false, false},
      {L"QvnRemove.exe /LOG=C:\\logs\\qvn.log", 0, true, true},
      // A viewer that locks the shared log: try again later, not "fix the path".
      {L"QvnRemove.exe /S /LOG=C:\\logs\\qvn.log", 1618, false, false, true},
      // Each family names files in its own form.
      {L"QvnRemove.exe /S /LOG=C:\\logs\\qvn.log", 3010, false, true, false, nullptr, Other::Owns, nullptr, windows98},
      // Another run removing, by the name each Windows gives the turn.
      {L"QvnRemove.exe /S /LOG=C:\\logs\\qvn.log", 1618, false, false, false, kGlobalTurn, Other::Owns, kAnotherRun},
      {L"QvnRemove.exe /S /LOG=C:\\logs\\qvn.log", 1618, false, false, false, kSessionTurn, Other::Owns, kAnotherRun,
       windows98},
      {L"QvnRemove.exe /S", 1618, false, false, false, kSessionTurn, Other::Owns, nullptr, nt4},
      {L"QvnRemove.exe /S", 3010, false, true, false, kSessionTurn, Other::Owns},  // another session's, on XP
      // The system account's run: its mutex refuses to be made, and opens to be waited on.
      {L"QvnRemove.exe /S /LOG=C:\\logs\\qvn.log", 1618, false, false, false, kGlobalTurn, Other::OwnsAsSystem,
       kAnotherRun},
      // No right to make global objects, and no other run: the session's own name.
      {L"QvnRemove.exe /S", 3010, false, true, false, nullptr, Other::Owns, nullptr, noGlobalNames},
      // A run that crashed holding the turn: taken, logged, and the removal goes on.
      {L"QvnRemove.exe /S /LOG=C:\\logs\\qvn.log", 3010, false, true, false, kGlobalTurn, Other::EndedOwning,
       L"The run before this one ended without finishing its removal; this run goes on in its place"},
      // Whatever another run does: the switches first, and no turn to list or show help.
      {L"QvnRemove.exe /S /bogus", 87, false, false, false, kGlobalTurn},
      {L"QvnRemove.exe /S \"/LOG=C:\\Program Files\\Quorvane\\qvn.log\"", 87, false, false, false, kGlobalTurn},
      {L"QvnRemove.exe /WHATIF /S /LOG=C:\\logs\\qvn.log", 0, false, false, false, kGlobalTurn},
      {L"QvnRemove.exe /? /S", 0, false, false, false, kGlobalTurn},
      // The windows: Start says so, and removes nothing.
      {L"QvnRemove.exe", 0, true, false, false, kGlobalTurn, Other::Owns,
       L"QvnRemove is already removing Quorvane on this computer"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.commandLine, c.commandLine + std::wcslen(c.commandLine)) + " " +
                 (c.otherRun != nullptr ? c.otherRun : ""));
    SimulatedPlatform platform;
    c.arrange(platform);
    const bool ntFamily = platform.version.dwPlatformId == VER_PLATFORM_WIN32_NT;
    const std::wstring shortcut = ntFamily ? kShortcut : L"C:\\Windows\\Desktop\\Quorvane.lnk";
    platform.drive.AddFile(shortcut);
    platform.drive.AddFile(L"C:\\Program Files\\Quorvane\\Quorvane.exe");
    platform.registry.SetString("SOFTWARE\\TindlewaySystems\\Quorvane\\StartUp", "twEXE", "C:\\Program Files\\Quorvane\\");
    platform.drive.AddFolder(L"C:\\logs");
    if (c.logHeld) {
      platform.drive.AddFile(L"C:\\logs\\qvn.log");
      platform.drive.HoldOpen(L"C:\\logs\\qvn.log");
    }
    if (c.otherRun != nullptr) platform.mutexes[c.otherRun].other = c.other;
    bool shown = false;
    const int exitCode = qvn::RunProgram(c.commandLine, [&](qvn::RemovalLog* log) {
      shown = true;
      // Start, with the removal standing in for its part.
      qvn::RemoveInTurn(nullptr, log, [&] {
        EXPECT_TRUE(OwnsAnyMutex(platform)) << "the turn is held while the removal runs";
        std::filesystem::remove(platform.drive.HostPath(kShortcut));
        return true;
      });
      return true;
    });
    EXPECT_EQ(exitCode, c.exitCode);
    EXPECT_EQ(shown, c.windows);
    EXPECT_EQ(platform.errorMode, SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    EXPECT_TRUE(platform.fileCallsBeforeErrorMode.empty()) << platform.fileCallsBeforeErrorMode.front();
    // Only a run that removes asks for the turn; one that plans, plans once.
    const qvn::CommandLine line = qvn::ParseCommandLine(c.commandLine);
    const bool understood = line.invalid.empty() && !line.help;
    // A plan asks the shell where its two folders are.
    const int planned = understood && (line.silent || line.whatIf || line.logPath) ? 2 : 0;
    EXPECT_EQ(platform.CallCount("SHGetSpecialFolderPathA") + platform.CallCount("SHGetSpecialFolderPathW"), planned)
        << "one start-up and one plan";
    EXPECT_EQ(platform.CallCount("CreateMutexA") > 0, understood && !line.whatIf && (line.silent || c.windows));
    EXPECT_EQ(platform.drive.Exists(shortcut), !c.removed);
    EXPECT_EQ(FormsOfTheOtherFamily(platform.bound, ntFamily), std::vector<std::string>{});
    EXPECT_FALSE(OwnsAnyMutex(platform)) << "the turn is given back on every way out";
    EXPECT_TRUE(platform.mutexHandles.empty()) << "every mutex opened is closed";
    if (c.told != nullptr && line.logPath) {
      const std::string log = platform.drive.Contents(L"C:\\logs\\qvn.log");
      EXPECT_NE(log.find(std::string(c.told, c.told + std::wcslen(c.told))), std::string::npos) << log;
    } else if (c.told != nullptr) {
      ASSERT_EQ(platform.messageBoxes.size(), 1u);
      EXPECT_NE(platform.messageBoxes[0].text.find(c.told), std::wstring::npos);
    }
  }
}

}  // namespace
