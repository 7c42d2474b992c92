#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>

#include "services/AsideFolder.h"
#include "services/DeleteAtRestart.h"
#include "tests/e2e/ProgramDriver.h"
#include "tests/e2e/RelayLog.h"
#include "tests/wine/FileFixture.h"
#include "tests/wine/Installation.h"
#include "tests/wine/RegistryFixture.h"

// The command line an administrator's deployment tool uses: no window, the
// exit code and the log are all it reads.
namespace {

using namespace fixture;

const char kProgramFolder[] = "C:\\qvn-e2e";
const char kLogFolder[] = "C:\\logs";
const char kLog[] = "C:\\logs\\qvn remove.log";
const char kLogArgument[] = "/LOG=\"C:\\logs\\qvn remove.log\"";

class Unattended : public testing::Test {
 protected:
  void SetUp() override {
    LayOutInstallation();
    RemoveTree(kLogFolder);
    MakeFolder(kLogFolder);
  }
  void TearDown() override {
    RemoveInstallation();
    RemoveTree(kLogFolder);
  }

  // Runs the program with `arguments` to its end, checking all the while that
  // it shows no window, for at most `timeoutMs`; returns its exit code. It
  // starts in `folder`, its current folder (C:\qvn-e2e, where it lies,
  // unless said).
  static DWORD RunWithoutAWindow(const std::string& arguments, const std::vector<std::string>& environment = {},
                                 const std::string& folder = kProgramFolder, int timeoutMs = 30000) {
    std::string fromFolder = "QvnRemove.exe";
    if (folder != kProgramFolder) {
      fromFolder = "qvn-e2e\\QvnRemove.exe";
      for (char c : folder.substr(2)) fromFolder.insert(0, c == '\\' ? "..\\" : "");
    }
    e2e::RunningProgram program(environment, folder, fromFolder, arguments);
    bool shown = false;
    for (int waited = 0; waited < timeoutMs && !program.WaitForExit(0); waited += 20) {
      shown = shown || program.ShowsAnyWindow();
      ::Sleep(20);
    }
    EXPECT_TRUE(program.WaitForExit(0)) << "the program did not end";
    EXPECT_FALSE(shown) << "a window appeared";
    return program.ExitCode();
  }

  // The log's lines as they are: "YYYY-MM-DD hh:mm:ss  COMPUTER  text".
  static std::vector<std::string> RawLogLines(const char* path = kLog) {
    std::vector<std::string> lines;
    std::ifstream log(path);
    for (std::string line; std::getline(log, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
    }
    return lines;
  }

  // The text of a line this computer wrote, after its date, time and name;
  // an empty text for any other line.
  static std::string TextOfOwnLine(const std::string& line) {
    char computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD chars = sizeof computer;
    EXPECT_TRUE(::GetComputerNameA(computer, &chars));
    const std::string name = "  " + std::string(computer) + "  ";
    const std::size_t timestamp = std::string("YYYY-MM-DD hh:mm:ss").size();
    const bool own = line.size() > timestamp + name.size() && line[4] == '-' && line[13] == ':' &&
                     line.compare(timestamp, name.size(), name) == 0;
    return own ? line.substr(timestamp + name.size()) : std::string();
  }

  // The text of every line, each of which this computer must have written.
  static std::vector<std::string> LogLines(const char* path = kLog) {
    std::vector<std::string> lines;
    for (const std::string& line : RawLogLines(path)) {
      const std::string text = TextOfOwnLine(line);
      EXPECT_FALSE(text.empty()) << "not a line of this computer's: " << line;
      lines.push_back(text.empty() ? line : text);
    }
    return lines;
  }

  static bool Has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
};

TEST_F(Unattended, SilentRemovesEverythingWithoutAWindowThenFindsNothing) {
  // Other installers' silent switches, as administrators type them, mean /S.
  for (const char* silent : {"/S", "/quiet /norestart", "-VERYSILENT /SUPPRESSMSGBOXES"}) {
    SCOPED_TRACE(silent);
    LayOutInstallation();
    EXPECT_EQ(RunWithoutAWindow(silent), 3010u);
    EXPECT_FALSE(AnyFileLeft());
    EXPECT_FALSE(AnyRegistryKeyLeft());
    EXPECT_TRUE(KeyExists(kOtherProductKey));
  }
  EXPECT_EQ(RunWithoutAWindow("/s"), 0u) << "a second run finds nothing to remove";
}

TEST_F(Unattended, SilentRestartIsRequestedAsTheButtonDoes) {
  const long long logStart = e2e::RelayLogEnd();
  e2e::RunningProgram program({e2e::kRelayEnvironment}, "C:\\qvn-e2e", "QvnRemove.exe", "/S /RESTART");
  ASSERT_TRUE(program.WaitForExit(30000));
  EXPECT_EQ(program.ExitCode(), 1641u);
  EXPECT_FALSE(AnyFileLeft());
  const std::vector<std::string> calls = e2e::RelayedCalls(program.ThreadId(), logStart);
  const auto at = [&](const std::string& call) {
    return std::find_if(calls.begin(), calls.end(), [&](const std::string& c) { return c.rfind(call, 0) == 0; });
  };
  const auto restart = at("user32.ExitWindowsEx(00000002,00000000)");
  ASSERT_NE(restart, calls.end()) << "ExitWindowsEx(EWX_REBOOT, 0) was not called";
  const auto privilege = at("advapi32.AdjustTokenPrivileges(");
  if (IsNtFamily()) {
    EXPECT_LT(privilege, restart) << "the shutdown privilege comes first";
  } else {
    EXPECT_EQ(privilege, calls.end()) << "the 95/98/ME family has no privileges";
  }

  // Run again at every start-up, with nothing left to remove: no restart.
  const long long againStart = e2e::RelayLogEnd();
  e2e::RunningProgram again({e2e::kRelayEnvironment}, "C:\\qvn-e2e", "QvnRemove.exe", "/S /RESTART");
  ASSERT_TRUE(again.WaitForExit(30000));
  EXPECT_EQ(again.ExitCode(), 0u);
  for (const std::string& call : e2e::RelayedCalls(again.ThreadId(), againStart)) {
    EXPECT_NE(call.rfind("user32.ExitWindowsEx(", 0), 0u) << "restarted with nothing removed";
  }
}

// Uninstallers are often kept in the folder they remove, and started from it.
TEST_F(Unattended, ProgramStartedFromInsideTheInstallFolder) {
  // Its current folder inside: it moves out and removes everything.
  e2e::RunningProgram fromInside({}, std::string(kInstallFolder) + "\\Data", "..\\..\\..\\qvn-e2e\\QvnRemove.exe",
                                 "/S");
  ASSERT_TRUE(fromInside.WaitForExit(30000));
  EXPECT_EQ(fromInside.ExitCode(), 3010u);
  EXPECT_FALSE(AnyFileLeft());
  // Its own file inside, which cannot go while it runs: nothing is removed.
  LayOutInstallation();
  const std::string copy = std::string(kInstallFolder) + "\\QvnRemove.exe";
  ASSERT_TRUE(::CopyFileA("C:\\qvn-e2e\\QvnRemove.exe", copy.c_str(), FALSE));
  e2e::RunningProgram copied({}, kInstallFolder, "QvnRemove.exe", std::string("/S ") + kLogArgument);
  ASSERT_TRUE(copied.WaitForExit(30000));
  EXPECT_EQ(copied.ExitCode(), 1603u);
  EXPECT_TRUE(AllFilesPresent());
  EXPECT_TRUE(AllRegistryKeysPresent());
  EXPECT_TRUE(Has(LogLines(), "Failed: error 75: Path/File access error: QvnRemove runs from inside what it removes, so "
                              "nothing has been removed; copy it to another folder and run it from there (" + copy + ")"));
}

TEST_F(Unattended, LogRecordsTheRunLineByLine) {
  EXPECT_EQ(RunWithoutAWindow(std::string("/S ") + kLogArgument), 3010u);
  const std::vector<std::string> lines = LogLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front().rfind("QvnRemove 1.01 started: ", 0), 0u) << lines.front();
  EXPECT_NE(lines.front().find(kLogArgument), std::string::npos) << lines.front();
  EXPECT_TRUE(Has(lines, std::string("Operating system: ") + (IsNtFamily() ? "Windows 2000 or XP" : "Windows 98")));
  EXPECT_TRUE(Has(lines, "Install location: C:\\Program Files\\Quorvane (will be deleted as C:\\Program Files\\Quorvane)"));
  const ShellPaths fixed = RunningFamilysPaths();
  EXPECT_TRUE(Has(lines, "Step 1: " + fixed.shortcut + ": removed"));
  const std::string uninstall = std::string("HKEY_LOCAL_MACHINE\\") + kUninstallKey + ": removed";
  EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
    return line.rfind("Step ", 0) == 0 && line.size() > uninstall.size() &&
           line.compare(line.size() - uninstall.size(), uninstall.size(), uninstall) == 0;
  }));
  EXPECT_EQ(lines.back(), "Exit code: 3010");
}

// Administrators point every machine's log at one file on a share: another
// machine's run holds it open for appending, sharing reading and writing, as
// this program does, and writes before and after this run.
TEST_F(Unattended, LogSharedWithAnotherMachinesRun) {
  HANDLE other = ::CreateFileA(kLog, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  const std::string before = "2026-12-08 09:05:07  OTHER-PC  QvnRemove 1.01 started: QvnRemove.exe /S";
  const std::string after = "2026-12-08 09:05:09  OTHER-PC  Exit code: 3010";
  const auto append = [other](const std::string& line) {
    const std::string text = line + "\r\n";
    DWORD written = 0;
    EXPECT_TRUE(::WriteFile(other, text.data(), static_cast<DWORD>(text.size()), &written, nullptr));
  };
  append(before);
  EXPECT_EQ(RunWithoutAWindow(std::string("/S ") + kLogArgument), 3010u) << "87 is the log refused";
  append(after);
  ::CloseHandle(other);
  EXPECT_FALSE(AnyFileLeft());
  const std::vector<std::string> lines = RawLogLines();
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines.front(), before);
  EXPECT_EQ(lines.back(), after);
  for (auto line = lines.begin() + 1; line != lines.end() - 1; ++line) {
    EXPECT_FALSE(TextOfOwnLine(*line).empty()) << *line;
  }
  EXPECT_EQ(TextOfOwnLine(lines[1]).rfind("QvnRemove 1.01 started: ", 0), 0u) << lines[1];
  EXPECT_EQ(TextOfOwnLine(lines[lines.size() - 2]), "Exit code: 3010");
}

// Two runs at once: a start-up script and a deployment agent, or a user who
// double-clicks twice. A large installation keeps the first run busy while the
// second starts half a second later; before the turn was taken, the second's
// in-use check opened files the first was deleting and failed its deletion
// half way. Exactly one run removes everything; the other ends 1618 at once,
// saying so in its log.
TEST_F(Unattended, TwoRunsAtOnceOneRemovesEverythingTheOtherEnds1618) {
  for (int folder = 0; folder < 100; ++folder) {
    const std::string path = std::string(kInstallFolder) + "\\Data\\Set " + std::to_string(folder);
    MakeFolder(path);
    for (int file = 0; file < 100; ++file) {
      const std::string name = path + "\\item " + std::to_string(file) + ".qvd";
      const HANDLE made = ::CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                        nullptr);
      ASSERT_NE(made, INVALID_HANDLE_VALUE) << name;
      ::CloseHandle(made);
    }
  }
  const char* const logs[] = {"C:\\logs\\first.log", "C:\\logs\\second.log"};
  e2e::RunningProgram first({}, "C:\\qvn-e2e", "QvnRemove.exe", std::string("/S /LOG=") + logs[0]);
  ::Sleep(500);
  e2e::RunningProgram second({}, "C:\\qvn-e2e", "QvnRemove.exe", std::string("/S /LOG=") + logs[1]);
  ASSERT_TRUE(first.WaitForExit(300000));
  ASSERT_TRUE(second.WaitForExit(300000));
  const DWORD codes[] = {first.ExitCode(), second.ExitCode()};
  EXPECT_TRUE((codes[0] == 3010u && codes[1] == 1618u) || (codes[0] == 1618u && codes[1] == 3010u))
      << codes[0] << " and " << codes[1];
  EXPECT_FALSE(AnyFileLeft()) << "never a half removal";
  EXPECT_FALSE(AnyRegistryKeyLeft());
  for (int run = 0; run < 2; ++run) {
    SCOPED_TRACE(logs[run]);
    const std::vector<std::string> lines = LogLines(logs[run]);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "Exit code: " + std::to_string(codes[run]));
    const bool toldSo = Has(lines, "Nothing was removed: another QvnRemove is removing Quorvane on this computer");
    EXPECT_EQ(toldSo, codes[run] == 1618u);
    for (const std::string& line : lines) EXPECT_TRUE(codes[run] != 1618u || line.rfind("Step ", 0) != 0) << line;
  }
}

TEST_F(Unattended, FileInUseEndsWithItsCodeAndRemovesNothing) {
  FileHeldByAnotherProcess holder(std::string(kInstallFolder) + "\\Data\\Templates\\default.qvt");
  EXPECT_EQ(RunWithoutAWindow(std::string("/S ") + kLogArgument), 1618u);
  EXPECT_TRUE(AllFilesPresent());
  EXPECT_TRUE(AllRegistryKeysPresent());
  EXPECT_TRUE(Has(LogLines(), "In use: C:\\Program Files\\Quorvane\\Data\\Templates\\default.qvt"));
  EXPECT_TRUE(Has(LogLines(), "Nothing was removed: Quorvane is still in use"));
}

// On the NT family every file and folder is claimed before any is removed,
// relative to its folder and by the name its listing gave: names no path can
// reach (made by tools that bypass the path rules) and paths past 260
// characters go with the rest. Each case ends removed whole.
TEST_F(Unattended, WhatNoPathReachesIsRemovedWithTheRest) {
  if (!IsNtFamily()) GTEST_SKIP() << "95/98/ME keep the check and the scripting object";
  const std::wstring install(kInstallFolder, kInstallFolder + std::strlen(kInstallFolder));
  struct Case {
    const char* what;
    std::function<void()> arrange;
  };
  const Case cases[] = {
      {"device names, a trailing dot, a trailing space",
       [&] {
         const std::wstring odd = install + L"\\Odd";
         ::CreateDirectoryW(odd.c_str(), nullptr);
         for (const wchar_t* name : {L"con", L"aux.txt", L"readme.", L"notes "}) MakeFileNamedExactly(odd, name);
       }},
      {"a path longer than 260 characters",
       [&] {
         std::wstring deep = L"\\\\?\\" + install;
         for (int level = 0; level < 12; ++level) {
           deep += L"\\a folder with a name of some length " + std::to_wstring(level);
           ::CreateDirectoryW(deep.c_str(), nullptr);
         }
         MakeFileNamedExactly(deep, L"deep.dat");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LayOutInstallation();
    c.arrange();
    EXPECT_EQ(RunWithoutAWindow("/S"), 3010u);
    EXPECT_FALSE(AnyFileLeft());
    EXPECT_FALSE(AnyRegistryKeyLeft());
  }
}

// A program that opens a file of Quorvane's, without sharing deletion, once
// the removal has begun: either it got there before the claim, and nothing is
// removed (1618), or the claim holds the file and it is refused until
// everything is gone (3010). Never half removed, whenever it comes.
TEST_F(Unattended, AFileOpenedOnceTheRemovalHasBegunLeavesItWholeOrNotAtAll) {
  if (!IsNtFamily()) GTEST_SKIP() << "95/98/ME check first and delete after: there it is a limit";
  const std::string bulk = std::string(kInstallFolder) + "\\Bulk";
  const std::string target = bulk + "\\Folder 19\\File 49.dat";
  for (const DWORD delayMs : {0u, 300u, 600u, 900u, 1200u}) {
    SCOPED_TRACE(delayMs);
    LayOutInstallation();
    for (int folder = 0; folder < 20; ++folder) {
      for (int file = 0; file < 50; ++file) {
        MakeFile(bulk + "\\Folder " + std::to_string(folder) + "\\File " + std::to_string(file) + ".dat");
      }
    }
    e2e::RunningProgram program({}, "C:\\qvn-e2e", "QvnRemove.exe", "/S");
    ::Sleep(delayMs);
    const FileHeldByAnotherProcess opener(target, FileHeldByAnotherProcess::Sharing::NoDelete, /*whenFree=*/true);
    ASSERT_TRUE(program.WaitForExit(60000));
    const DWORD code = program.ExitCode();
    ::Sleep(200);  // an opener that got the file says so
    std::printf("opened after %u ms: exit code %u\n", static_cast<unsigned>(delayMs), static_cast<unsigned>(code));
    if (code == 1618u) {
      EXPECT_TRUE(opener.Holds());
      EXPECT_TRUE(AllFilesPresent());
      EXPECT_TRUE(PathExists(target));
      EXPECT_TRUE(AllRegistryKeysPresent());
    } else {
      EXPECT_EQ(code, 3010u) << "whole or not at all";
      EXPECT_FALSE(opener.Holds());
      EXPECT_FALSE(AnyFileLeft());
      EXPECT_FALSE(AnyRegistryKeyLeft());
    }
  }
}

// More files and folders than the removal holds at once (the runner makes
// them, and names where in QVN_BIG_TREE): it checks every folder first, then
// removes one folder at a time, and says so in the log.
TEST_F(Unattended, ATreeAboveTheCeilingIsCheckedThenRemovedFolderByFolder) {
  const char* tree = std::getenv("QVN_BIG_TREE");
  ASSERT_NE(tree, nullptr) << "run by tests/e2e/run, which makes the tree";
  ASSERT_TRUE(::MoveFileA(tree, (std::string(kInstallFolder) + "\\Big").c_str()));
  const DWORD start = ::GetTickCount();
  EXPECT_EQ(RunWithoutAWindow(std::string("/S ") + kLogArgument, {}, kProgramFolder, 600000), 3010u);
  std::printf("%u files and folders removed in parts in %u ms\n", 165u * 101u + 1u,
              static_cast<unsigned>(::GetTickCount() - start));
  EXPECT_FALSE(AnyFileLeft());
  EXPECT_FALSE(AnyRegistryKeyLeft());
  EXPECT_TRUE(Has(LogLines(), "More than 16000 files and folders: each folder is checked, then each removed, one at a time"));
}

// /CLOSEAPPLICATIONS: Quorvane running from its folder with a window is asked
// to close before the run gives up; without the switch the run is as before.
TEST_F(Unattended, CloseApplicationsAsksQuorvaneToCloseBeforeGivingUp) {
  if (!IsNtFamily()) GTEST_SKIP() << "Wine's ToolHelp names a program without its folder on 95/98/ME too";
  const std::string quorvane = std::string(kInstallFolder) + "\\Quorvane.exe";
  ASSERT_TRUE(CopyThisProgramTo(quorvane));
  const ProgramRunning running(quorvane, "C:\\qvn-e2e", OnClose::Ends);

  EXPECT_EQ(RunWithoutAWindow("/S"), 1618u);
  EXPECT_EQ(RunWithoutAWindow(std::string("/WHATIF /S /CLOSEAPPLICATIONS ") + kLogArgument), 0u);
  EXPECT_TRUE(Has(LogLines(), "Would ask to close: " + quorvane));
  EXPECT_FALSE(running.Ended(0)) << "only asked to close with /CLOSEAPPLICATIONS, and never by /WHATIF";
  EXPECT_TRUE(AllFilesPresent());

  EXPECT_EQ(RunWithoutAWindow(std::string("/S /CLOSEAPPLICATIONS ") + kLogArgument), 3010u);
  ASSERT_TRUE(running.Ended(0));
  EXPECT_EQ(running.ExitCode(), kEndedByClose) << "ended by WM_CLOSE, not by force";
  EXPECT_FALSE(AnyFileLeft());
  EXPECT_FALSE(AnyRegistryKeyLeft());
  EXPECT_TRUE(Has(LogLines(), "Asked to close: " + quorvane + "; it ended"));
}

// /REMOVEATRESTART: what stays in use is left for the restart before
// anything is removed, the rest goes at once, and the run ends 3010. On the NT
// family a running Quorvane.exe (no window, so nothing can close it) is moved
// into QvnRemove.pending beside the install folder, and that copy and the
// folder are listed for the restart; the runner then ends Wine, restarts it
// and checks that nothing moved aside remains. On 95/98/ME two files held
// open stay where they are, listed in WININIT.INI by their short names
// beside what another program wrote there.
TEST_F(Unattended, RemoveAtRestartLeavesWhatIsInUseForTheRestartAndRemovesTheRest) {
  const std::string aside = "C:\\Program Files\\QvnRemove.pending";
  const std::string quorvane = std::string(kInstallFolder) + "\\Quorvane.exe";
  if (IsNtFamily()) {
    ASSERT_TRUE(CopyThisProgramTo(quorvane));
    const ProgramRunning running(quorvane, "C:\\qvn-e2e");
    EXPECT_EQ(RunWithoutAWindow("/S"), 1618u) << "without the switch, as before";
    EXPECT_EQ(RunWithoutAWindow(std::string("/S /REMOVEATRESTART ") + kLogArgument), 3010u);
    EXPECT_FALSE(AnyFileLeft());
    EXPECT_FALSE(AnyRegistryKeyLeft());
    const std::string moved = aside + "\\1 Quorvane.exe";
    EXPECT_TRUE(PathExists(moved));
    const std::vector<std::wstring> pending = qvn::DeletionsPendingAtRestart();
    const std::string mark = aside + "\\QvnRemove.mark";
    EXPECT_EQ(pending, (std::vector<std::wstring>{std::wstring(moved.begin(), moved.end()),
                                                  std::wstring(mark.begin(), mark.end()),
                                                  std::wstring(aside.begin(), aside.end())}));
    EXPECT_TRUE(Has(LogLines(), "In use, moved aside: " + quorvane + " to " + moved));
    EXPECT_TRUE(Has(LogLines(), "Removed at the restart: " + aside));
    EXPECT_EQ(RunWithoutAWindow("/S /REMOVEATRESTART"), 0u) << "a second run before the restart finds nothing left";
    EXPECT_EQ(qvn::DeletionsPendingAtRestart(), pending) << "nothing is listed twice";
    return;
  }
  const char kWininit[] = "C:\\windows\\WININIT.INI";
  const std::string others = "[rename]\r\nC:\\other.new=C:\\other.tmp\r\n";
  ASSERT_TRUE(WriteText(kWininit, others));
  const std::string held[] = {quorvane, std::string(kInstallFolder) + "\\Data\\Templates\\default.qvt"};
  const std::string lines[] = {"NUL=" + ShortPath(held[0]) + "\r\n", "NUL=" + ShortPath(held[1]) + "\r\n"};
  {
    const FileHeldByAnotherProcess first(held[0]);
    const FileHeldByAnotherProcess second(held[1]);
    EXPECT_EQ(RunWithoutAWindow(std::string("/S /REMOVEATRESTART ") + kLogArgument), 3010u);
    EXPECT_TRUE(PathExists(held[0]) && PathExists(held[1]));
  }
  const std::string text = TextOf(kWininit);
  EXPECT_EQ(text.rfind(others, 0), 0u) << "another program's line is kept:\n" << text;
  EXPECT_EQ(text.size(), others.size() + lines[0].size() + lines[1].size()) << text;
  for (const std::string& line : lines) EXPECT_NE(text.find(line, others.size()), std::string::npos) << line << text;
  EXPECT_FALSE(PathExists(RunningFamilysPaths().shortcut));
  EXPECT_FALSE(AnyRegistryKeyLeft());
  EXPECT_TRUE(Has(LogLines(), "This Windows removes no folder at restart; it may remain, empty: " +
                                  std::string(kInstallFolder)));
  ::DeleteFileA(kWininit);
}

// A run that stopped after moving files aside and before listing them for the
// restart (a crash, a power cut) left two marked folders beside the install
// folder: one with a Quorvane.exe still running from it, one with nothing in
// use. The next /S lists the first whole for the restart and removes the
// second; a folder of that name without the mark is someone else's.
TEST_F(Unattended, WhatAnInterruptedRunLeftBesideTheInstallFolderIsFinished) {
  if (!IsNtFamily()) GTEST_SKIP() << "only the NT family moves anything aside";
  ForgetWhatIsLeftForTheRestart();
  const std::string unmarked = "C:\\Program Files\\QvnRemove.pending";
  MakeFile(unmarked + "\\notes.txt");
  const std::wstring installFolder(kInstallFolder, kInstallFolder + std::strlen(kInstallFolder));
  const qvn::AsideFolder running = qvn::MakeFolderBeside(installFolder);
  const qvn::AsideFolder idle = qvn::MakeFolderBeside(installFolder);
  const std::string runningFolder(running.path.begin(), running.path.end());
  const std::string idleFolder(idle.path.begin(), idle.path.end());
  ASSERT_EQ(runningFolder, unmarked + ".2");
  ASSERT_EQ(idleFolder, unmarked + ".3");
  const std::string moved = runningFolder + "\\1 Quorvane.exe";
  ASSERT_TRUE(CopyThisProgramTo(moved));
  MakeFile(idleFolder + "\\1 Quorvane.exe");
  {
    const ProgramRunning program(moved, "C:\\qvn-e2e");
    EXPECT_EQ(RunWithoutAWindow(std::string("/WHATIF /S ") + kLogArgument), 0u);
    EXPECT_TRUE(Has(LogLines(), "Left by an interrupted run, still in use, would be left for the restart: " +
                                    runningFolder));
    EXPECT_TRUE(Has(LogLines(), "Left by an interrupted run, would be removed: " + idleFolder));
    EXPECT_TRUE(PathExists(idleFolder)) << "/WHATIF removes nothing";

    EXPECT_EQ(RunWithoutAWindow(std::string("/S ") + kLogArgument), 3010u);
    EXPECT_FALSE(AnyFileLeft());
    EXPECT_TRUE(PathExists(moved));
    EXPECT_FALSE(PathExists(idleFolder));
    EXPECT_TRUE(PathExists(unmarked + "\\notes.txt")) << "a folder without the mark is never touched";
    const std::string mark = runningFolder + "\\QvnRemove.mark";
    const std::vector<std::wstring> pending = qvn::DeletionsPendingAtRestart();
    EXPECT_EQ(pending, (std::vector<std::wstring>{std::wstring(moved.begin(), moved.end()),
                                                  std::wstring(mark.begin(), mark.end()), running.path}));
    const std::vector<std::string> lines = LogLines();
    EXPECT_TRUE(Has(lines, "Left by an interrupted run, still in use, left for the restart: " + runningFolder));
    EXPECT_TRUE(Has(lines, "Left by an interrupted run, removed: " + idleFolder));
    EXPECT_TRUE(Has(lines, "Removed at the restart: " + moved));

    LayOutInstallation();
    EXPECT_EQ(RunWithoutAWindow("/S"), 3010u);
    EXPECT_EQ(qvn::DeletionsPendingAtRestart(), pending) << "what is listed is not listed again";
  }
  ForgetWhatIsLeftForTheRestart();
  RemoveTree(runningFolder);
}

// What an interrupted run left holds a name with a closing dot (a moved-aside
// "notes." that WSL or Cygwin made), held open without delete sharing: it is
// listed for the restart by that exact name, not by "1 notes", which names
// nothing there, so the folder would stay for good.
TEST_F(Unattended, WhatAnInterruptedRunLeftIsListedForTheRestartByItsExactNames) {
  if (!IsNtFamily()) GTEST_SKIP() << "only the NT family moves anything aside";
  ForgetWhatIsLeftForTheRestart();
  const std::wstring installFolder(kInstallFolder, kInstallFolder + std::strlen(kInstallFolder));
  const qvn::AsideFolder left = qvn::MakeFolderBeside(installFolder);
  const std::string folder(left.path.begin(), left.path.end());
  const std::string exact = "\\\\?\\" + folder + "\\1 notes.";
  ASSERT_TRUE(WriteText(exact, "notes"));
  {
    const FileHeldByAnotherProcess holder(exact);
    ASSERT_TRUE(holder.Holds());
    EXPECT_EQ(RunWithoutAWindow(std::string("/S ") + kLogArgument), 3010u);
  }
  const std::vector<std::wstring> pending = qvn::DeletionsPendingAtRestart();
  const std::wstring named = left.path + L"\\1 notes.";
  EXPECT_NE(std::find(pending.begin(), pending.end(), named), pending.end())
      << [&pending] {
           std::string all;
           for (const std::wstring& path : pending) all += "listed: " + std::string(path.begin(), path.end()) + "\n";
           for (const std::string& line : LogLines()) all += "log: " + line + "\n";
           return all;
         }();
  ForgetWhatIsLeftForTheRestart();
  ::DeleteFileA(exact.c_str());
  RemoveTree(folder);
}

// An administrator moved Quorvane to D: and left a link where it was. Under
// Wine a host symbolic link stands for the junction (Windows programs under
// Wine cannot make one): the runner makes C:\Program Files\Quorvane one, to
// the folder it names in QVN_LINKED_INSTALL_FOLDER with a file of its own in
// it, and the fixture lays the installation out through the link. Every file
// on D: goes and the run ends as a full removal. Wine cannot take a host link
// away by itself, so the log says whether the link went.
TEST_F(Unattended, InstallFolderThatIsALinkIsRemovedWhereItLeads) {
  const char* linked = std::getenv("QVN_LINKED_INSTALL_FOLDER");
  ASSERT_NE(linked, nullptr) << "run by tests/e2e/run, which makes the link";
  const DWORD attributes = ::GetFileAttributesA(kInstallFolder);
  ASSERT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0);
  const std::string folder = linked;
  ASSERT_TRUE(PathExists(folder + "\\Quorvane.exe") && PathExists(folder + "\\Help\\readme.txt"));
  EXPECT_EQ(RunWithoutAWindow(std::string("/S ") + kLogArgument), 3010u);
  EXPECT_FALSE(PathExists(folder)) << "the files are gone from where the link led";
  EXPECT_FALSE(AnyFileLeft());
  EXPECT_FALSE(AnyRegistryKeyLeft());
  const std::vector<std::string> lines = LogLines();
  const std::string link = kInstallFolder;
  EXPECT_TRUE(Has(lines, "Install location: " + link + " (will be deleted as " + folder + ", the folder the link " +
                             link + " leads to)"));
  const auto hasLine = [&lines](const std::string& start, const std::string& end) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
      return line.size() >= start.size() + end.size() && line.rfind(start, 0) == 0 &&
             line.compare(line.size() - end.size(), end.size(), end) == 0;
    });
  };
  EXPECT_TRUE(hasLine("Step ", ": " + folder + ": removed"));
  EXPECT_TRUE(Has(lines, "Folder link removed after the folder it leads to: " + link) ||
              hasLine("Folder link left in place (error ", "), the folder it leads to removed: " + link));
}

// An installer that writes "[INSTALLDIR]\" leaves two closing separators in
// twEXE: one is dropped and the full path keeps the other. A file held
// without delete sharing is then left for the restart, with its folders, by
// names the restart can open: a "\\?\" path is taken as written, and on
// Windows an empty name between two separators names nothing.
TEST_F(Unattended, AnInstallLocationWithTwoClosingSeparatorsLeavesForTheRestartPathsThatName) {
  if (!IsNtFamily()) GTEST_SKIP() << "only the NT family claims by handles";
  ForgetWhatIsLeftForTheRestart();
  SetString(std::string(kSettingsKey) + "\\StartUp", "twEXE", std::string(kInstallFolder) + "\\\\");
  const std::string held = std::string(kInstallFolder) + "\\Data\\Templates\\default.qvt";
  {
    const FileHeldByAnotherProcess holder(held);
    EXPECT_EQ(RunWithoutAWindow(std::string("/S /REMOVEATRESTART ") + kLogArgument), 3010u);
  }
  const std::vector<std::wstring> pending = qvn::DeletionsPendingAtRestart();
  EXPECT_FALSE(pending.empty());
  for (const std::wstring& path : pending) {
    EXPECT_EQ(path.find(L"\\\\"), std::wstring::npos) << std::string(path.begin(), path.end());
  }
  for (const std::string& line : LogLines()) {
    EXPECT_EQ(line.find("\\\\"), std::string::npos) << line;
  }
  ForgetWhatIsLeftForTheRestart();
}

TEST_F(Unattended, WhatIfListsTheStepsAndRemovesNothing) {
  EXPECT_EQ(RunWithoutAWindow(std::string("/WHATIF /S ") + kLogArgument), 0u);
  EXPECT_TRUE(AllFilesPresent());
  EXPECT_TRUE(AllRegistryKeysPresent());
  const std::vector<std::string> lines = LogLines();
  const ShellPaths fixed = RunningFamilysPaths();
  EXPECT_TRUE(Has(lines, "Step 1: delete file " + fixed.shortcut + ": present"));
  EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
    return line.find(": delete folder C:\\Program Files\\Quorvane: present") != std::string::npos;
  }));
  EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
    return line.find(": delete key HKEY_LOCAL_MACHINE\\SOFTWARE\\TindlewaySystems\\Quorvane\\printOptions: present") !=
           std::string::npos;
  }));
  EXPECT_EQ(lines.back(), "Exit code: 0");
}

TEST_F(Unattended, ArgumentNotUnderstoodIsAnInvalidParameter) {
  // Interactive: a box says which argument, then 87.
  e2e::RunningProgram program({}, "C:\\qvn-e2e", "QvnRemove.exe", "/bogus");
  const std::optional<e2e::MessageBoxSeen> box = program.WaitForMessageBox();
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->title, "QvnRemove");
  EXPECT_NE(box->text.find("/bogus"), std::string::npos) << box->text;
  EXPECT_NE(box->text.find("/WHATIF"), std::string::npos) << "the switches are listed";
  EXPECT_NE(box->text.find("/CLOSEAPPLICATIONS"), std::string::npos) << "the switches are listed";
  program.Dismiss(*box);
  ASSERT_TRUE(program.WaitForExit());
  EXPECT_EQ(program.ExitCode(), 87u);
  // Silent: nothing shown, 87; a log folder that does not exist is the same.
  EXPECT_EQ(RunWithoutAWindow("/S /bogus"), 87u);
  EXPECT_EQ(RunWithoutAWindow("/S /RESTART /LOG=C:\\no-such-folder\\qvn.log"), 87u);
  // A log inside what is removed would hold its own file open: refused, by
  // any name of the folder.
  const std::string inside = std::string(kInstallFolder) + "\\remove.log";
  char programFiles[MAX_PATH] = {};
  ::GetShortPathNameA("C:\\Program Files", programFiles, MAX_PATH);
  for (const std::string& log : {inside, std::string(programFiles) + "\\Quorvane\\remove.log", "\\\\?\\" + inside}) {
    SCOPED_TRACE(log);
    EXPECT_EQ(RunWithoutAWindow("/S \"/LOG=" + log + "\""), 87u);
    EXPECT_FALSE(PathExists(inside));
  }
  EXPECT_TRUE(AllFilesPresent());
  EXPECT_TRUE(AllRegistryKeysPresent());
}

// The NT family names files in Unicode, and the installer stored the folder
// so. A name the code page spells only by a look-alike ("\u0141ukasz" by
// "Lukasz" on a Western system) must not lead the removal to the look-alike's
// folder, which another user may have; a name it cannot spell at all
// (Cyrillic) must not turn into question marks, which name no folder, and
// leave the folder behind for good once the keys are gone. The log shows what
// the code page cannot spell as question marks, never as a look-alike.
TEST_F(Unattended, InstallFolderIsFollowedByItsRealName) {
  if (!IsNtFamily()) GTEST_SKIP() << "95/98/ME keep every name in the code page: such a folder cannot be made there";
  struct Case {
    std::wstring folder;     // as the registry names it, without its closing separator
    std::wstring lookAlike;  // another folder, which stays; empty for none
    std::string logged;      // the folder as the log shows it
  };
  const Case cases[] = {
      {L"C:\\Apps\\\u0141ukasz\\Quorvane", L"C:\\Apps\\Lukasz\\Quorvane", "C:\\Apps\\?ukasz\\Quorvane"},
      {L"C:\\Apps\\\u041a\u0432\u043e\u0440\u0432\u0435\u0439\u043d", L"", "C:\\Apps\\????????"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.logged);
    LayOutInstallation();
    SetWideString(std::string(kSettingsKey) + "\\StartUp", "twEXE", c.folder + L"\\");
    MakeFile(c.folder + L"\\Quorvane.exe");
    MakeFile(c.folder + L"\\Data\\prefs.dat");
    if (!c.lookAlike.empty()) MakeFile(c.lookAlike + L"\\Quorvane.exe");
    EXPECT_EQ(RunWithoutAWindow(std::string("/S ") + kLogArgument), 3010u);
    EXPECT_FALSE(PathExists(c.folder)) << "the install folder is left";
    if (!c.lookAlike.empty()) {
      EXPECT_TRUE(PathExists(c.lookAlike + L"\\Quorvane.exe")) << "the look-alike is removed";
    }
    EXPECT_FALSE(AnyRegistryKeyLeft());
    EXPECT_TRUE(Has(LogLines(), "Install location: " + c.logged + " (will be deleted as " + c.logged + ")"))
        << TextOf(kLog);
    RemoveTree("C:\\Apps");
    RemoveTree(kLog);
  }
}

// The runner gives the prefix two more drives: D:, a drive of its own with a
// second Windows on it, and E:, another name for C:\windows.
TEST_F(Unattended, GuardKnowsTheSystemsFoldersOnEveryDriveAndByEveryName) {
  ASSERT_NE(std::getenv("QVN_OTHER_DRIVES"), nullptr) << "run by tests/e2e/run, which makes the drives";
  struct Case {
    const char* location;  // stored as the install folder
    std::vector<std::string> files;
    bool removed;
  };
  const Case cases[] = {
      {"D:\\WINDOWS\\", {"D:\\WINDOWS\\system32\\qvn-keep.dll"}, false},
      {"E:\\Fonts\\", {"C:\\windows\\Fonts\\qvn-keep.ttf"}, false},
      {"F:\\system32\\", {"D:\\WINDOWS\\system32\\qvn-keep.dll"}, false},  // F: names D:\\WINDOWS
      {"D:\\Apps\\Quorvane\\", {"D:\\Apps\\Quorvane\\Quorvane.exe"}, true},
  };
  const std::string neighbour = "D:\\Apps\\Other\\keep.txt";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.location);
    LayOutInstallation();
    SetString(std::string(kSettingsKey) + "\\StartUp", "twEXE", c.location);
    for (const std::string& file : c.files) MakeFile(file);
    MakeFile(neighbour);
    EXPECT_EQ(RunWithoutAWindow(std::string("/S ") + kLogArgument), 3010u);
    for (const std::string& file : c.files) EXPECT_EQ(PathExists(file), !c.removed) << file;
    EXPECT_TRUE(PathExists(neighbour));
    EXPECT_FALSE(AnyRegistryKeyLeft());
    for (const std::string& file : c.files) RemoveTree(file);
    RemoveTree(kLog);
  }
  RemoveTree("D:\\Apps");
  RemoveTree("D:\\WINDOWS");
}

const char kApps[] = "C:\\Apps2";
const char kOtherVendor[] = "C:\\Apps2\\OtherVendor";

// Another vendor's program in C:\Apps2\OtherVendor, with an entry of its own
// in the list of installed programs; gone again with this object.
class OtherVendorProgram {
 public:
  static constexpr char kEntry[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OtherVendorTool";

  OtherVendorProgram() {
    Forget();
    for (const char* file : kFiles) MakeFile(file);
  }
  ~OtherVendorProgram() { Forget(); }
  OtherVendorProgram(const OtherVendorProgram&) = delete;
  OtherVendorProgram& operator=(const OtherVendorProgram&) = delete;

  // Its entry anew, with these values (null: none).
  void Register(const char* installLocation, const char* uninstallString) const {
    DeleteTree(kEntry);
    SetString(kEntry, "DisplayName", "Other Vendor Tool");
    if (installLocation != nullptr) SetString(kEntry, "InstallLocation", installLocation);
    if (uninstallString != nullptr) SetString(kEntry, "UninstallString", uninstallString);
  }

  bool Kept() const {
    return std::all_of(std::begin(kFiles), std::end(kFiles), [](const char* file) { return PathExists(file); }) &&
           KeyExists(kEntry);
  }

 private:
  static constexpr const char* kFiles[] = {"C:\\Apps2\\OtherVendor\\bin\\other.exe",
                                           "C:\\Apps2\\OtherVendor\\data\\other.dat"};
  static void Forget() {
    RemoveTree(kApps);
    DeleteTree(kEntry);
  }
};

// Quorvane's program and uninstaller in `folder`, which its settings name.
void InstallQuorvaneIn(const std::string& folder) {
  MakeFile(folder + "\\Quorvane.exe");
  MakeFile(folder + "\\unins000.exe");
  SetString(std::string(kSettingsKey) + "\\StartUp", "twEXE", folder + "\\");
}

// Quorvane installed into C:\Apps2, around another vendor's program: the
// forced deletion would take that program with it, so nothing of Quorvane
// goes either, and the run says why.
TEST_F(Unattended, AnotherProgramInTheInstallFolderStopsTheRemovalWithNothingRemoved) {
  const OtherVendorProgram other;
  other.Register(kOtherVendor, nullptr);
  InstallQuorvaneIn(kApps);
  const std::string why = std::string("another installed program, Other Vendor Tool, lives in it at ") + kOtherVendor;

  EXPECT_EQ(RunWithoutAWindow(std::string("/WHATIF /S ") + kLogArgument), 0u);
  EXPECT_TRUE(Has(LogLines(), std::string("Nothing would be removed: the install folder ") + kApps + " is refused: " + why));
  RemoveTree(kLog);

  EXPECT_EQ(RunWithoutAWindow(std::string("/S ") + kLogArgument), 1603u);
  EXPECT_TRUE(other.Kept());
  EXPECT_TRUE(PathExists(std::string(kApps) + "\\Quorvane.exe"));
  EXPECT_TRUE(AllFilesPresent()) << "the shortcut and the program group stay";
  EXPECT_TRUE(AllRegistryKeysPresent());
  const std::vector<std::string> lines = LogLines();
  EXPECT_TRUE(Has(lines, std::string("Install location: ") + kApps + " (refused, nothing is removed: " + why + ")"));
  EXPECT_TRUE(Has(lines, "Failed: error 75: Path/File access error: the install folder is refused, so nothing of "
                         "Quorvane has been removed: " + why + " (" + kApps + ")"));

  // Through the main window: the failure report says the same.
  e2e::RunningProgram program({}, kProgramFolder, "QvnRemove.exe", "");
  const HWND main = program.WaitForWindow("Remove Quorvane");
  ASSERT_NE(main, nullptr);
  e2e::Click(main, "Start Removal Process");
  const std::optional<e2e::MessageBoxSeen> box = program.WaitForMessageBox();
  ASSERT_TRUE(box.has_value());
  EXPECT_NE(box->text.find(why), std::string::npos) << box->text;
  EXPECT_NE(box->text.find(std::string("Could not remove: ") + kApps), std::string::npos) << box->text;
  e2e::SaveScreenshot(box->handle, "C:\\qvn-e2e\\shots\\other-program.bmp");
  program.Dismiss(*box);
  ASSERT_TRUE(program.WaitForExit());
  EXPECT_EQ(program.ExitCode(), 1u);
  EXPECT_TRUE(other.Kept());
  EXPECT_TRUE(AllFilesPresent());
  EXPECT_TRUE(AllRegistryKeysPresent());

  // The NT family: a folder the code page cannot spell (Cyrillic on a
  // Western system), which only a wide read of the entry names.
  if (!IsNtFamily()) return;
  const std::wstring cyrillic = L"C:\\Apps2\\\x0414\x0430\x043D\x043D\x044B\x0435";
  ASSERT_TRUE(::CreateDirectoryW(cyrillic.c_str(), nullptr));
  const std::wstring data = cyrillic + L"\\data.dat";
  ::CloseHandle(::CreateFileW(data.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
  HKEY entry = nullptr;
  ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, other.kEntry, 0, KEY_SET_VALUE, &entry), ERROR_SUCCESS);
  ::RegSetValueExW(entry, L"InstallLocation", 0, REG_SZ, reinterpret_cast<const BYTE*>(cyrillic.c_str()),
                   static_cast<DWORD>((cyrillic.size() + 1) * sizeof(wchar_t)));
  ::RegCloseKey(entry);
  EXPECT_EQ(RunWithoutAWindow("/S"), 1603u);
  EXPECT_NE(::GetFileAttributesW(data.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(AllRegistryKeysPresent());
}

// Entries that tell of no program inside the install folder stop nothing.
// The program starts inside the install folder, where a relative or
// drive-relative path, resolved, would name the folder itself.
TEST_F(Unattended, OtherProgramsEntriesBesideOrAboveTheInstallFolderStopNothing) {
  const OtherVendorProgram other;
  const std::string apps = std::string(kApps) + "\\Quorvane";
  struct Row {
    const char* what;
    std::string installFolder;
    const char* installLocation;  // of the other program's entry; null: none
    const char* uninstallString;
  };
  const Row rows[] = {
      {"another program beside", apps, kOtherVendor, "\"C:\\Apps2\\OtherVendor\\bin\\other.exe\" /uninstall"},
      {"at the drive, its uninstaller at the root", apps, "C:\\", "C:\\qvn-uninst.exe /S"},
      {"at Program Files", kInstallFolder, "C:\\Program Files", nullptr},
      {"a relative command line", apps, nullptr, "unins000.exe /SILENT"},
      {"a drive-relative one", apps, nullptr, "C:unins000.exe"},
  };
  MakeFile("C:\\qvn-uninst.exe");
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    LayOutInstallation();
    InstallQuorvaneIn(row.installFolder);
    other.Register(row.installLocation, row.uninstallString);
    EXPECT_EQ(RunWithoutAWindow("/S", {}, row.installFolder), 3010u);
    EXPECT_FALSE(PathExists(row.installFolder));
    EXPECT_FALSE(AnyRegistryKeyLeft());
    EXPECT_TRUE(other.Kept());
  }
  RemoveTree("C:\\qvn-uninst.exe");
}

}  // namespace
