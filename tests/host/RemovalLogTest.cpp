#include <gtest/gtest.h>

#include "app/RemovalLog.h"
#include "app/LogLocation.h"
#include "app/PlanListing.h"
#include "app/RemoveWhenNotInUse.h"
#include "app/UnattendedRemoval.h"
#include "services/Failure.h"
#include "services/LogFile.h"
#include "services/ReparseData.h"
#include "tests/fakes/SimulatedPlatform.h"
#include "ui/RemovalWatch.h"

namespace {

const std::string kSettings = "SOFTWARE\\TindlewaySystems\\Quorvane";
const std::string kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorvane";
const wchar_t kShortcut[] = L"C:\\Documents and Settings\\All Users\\Desktop\\Quorvane.lnk";

class Lines : public qvn::LogSink {
 public:
  void Write(const std::wstring& line) override { lines.push_back(line); }
  std::vector<std::wstring> lines;
};

void Install(SimulatedPlatform& platform, const char* location) {
  platform.drive.AddFile(kShortcut);
  platform.drive.AddFile(L"C:\\Program Files\\Quorvane\\Quorvane.exe");
  platform.registry.CreateKey(kUninstall);
  for (const char* subkey : {"printOptions", "columnNames", "1.2"}) platform.registry.CreateKey(kSettings + "\\" + subkey);
  platform.registry.SetString(kSettings + "\\StartUp", "twEXE", location);
}

// Quorvane moved to D:, and C:\Apps\Quorvane a junction to it.
void LinkToDriveD(SimulatedPlatform& platform) {
  platform.drives = "CD";
  platform.drive.AddDrive(L'D');
  platform.drive.AddFile(L"D:\\Quorvane\\Quorvane.exe");
  platform.drive.AddFolderLink(L"C:\\Apps\\Quorvane", L"D:\\Quorvane");
}

// The log of a run through that link up to its install-folder step, then `after`.
std::vector<std::wstring> ThroughTheLink(const wchar_t* after) {
  return {L"Operating system: Windows 2000 or XP",
          L"Install location: C:\\Apps\\Quorvane (will be deleted as D:\\Quorvane, the folder the link "
          L"C:\\Apps\\Quorvane leads to)",
          L"Step 1: C:\\Documents and Settings\\All Users\\Desktop\\Quorvane.lnk: removed",
          L"Step 2: C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Quorvane: not present",
          L"Step 3: D:\\Quorvane: removed",
          after};
}

// An unattended run as the program makes it: its start decided once, then run.
qvn::RunEnding RunSilently(bool restart, qvn::RemovalLog* log, bool removeAtRestart = false) {
  qvn::UnattendedStart start = qvn::StartUnattended();
  qvn::CommandLine line;
  line.silent = true;
  line.restart = restart;
  line.removeAtRestart = removeAtRestart;
  return qvn::RunUnattended(start, line, log);
}

// The log of one unattended run, from what it found to its last step.
std::vector<std::wstring> LogOf(void (*arrange)(SimulatedPlatform&), const char* location, bool removeAtRestart,
                                int& exitCode) {
  SimulatedPlatform platform;
  Install(platform, location);
  arrange(platform);
  Lines sink;
  qvn::RemovalLog log(sink);
  exitCode = qvn::ExitCode(RunSilently(false, &log, removeAtRestart));
  EXPECT_TRUE(platform.messageBoxes.empty()) << "an unattended run shows nothing";
  return sink.lines;
}

TEST(RemovalLog, RecordsWhatWasFoundAndEveryStep) {
  struct Case {
    const char* what;
    const char* location;
    void (*arrange)(SimulatedPlatform&);
    int exitCode;
    std::vector<std::wstring> lines;
    bool removeAtRestart = false;  // /REMOVEATRESTART
  };
  const std::wstring program = L"C:\\Program Files\\Quorvane\\Quorvane.exe";
  const std::wstring aside = L"C:\\Program Files\\QvnRemove.pending";
  const Case cases[] = {
      {"a full removal", "C:\\Program Files\\Quorvane\\", [](SimulatedPlatform&) {}, 3010,
       {L"Operating system: Windows 2000 or XP",
        L"Install location: C:\\Program Files\\Quorvane (will be deleted as C:\\Program Files\\Quorvane)",
        L"Step 1: C:\\Documents and Settings\\All Users\\Desktop\\Quorvane.lnk: removed",
        L"Step 2: C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Quorvane: not present",
        L"Step 3: C:\\Program Files\\Quorvane: removed",
        L"Step 4: HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorvane: removed",
        L"Step 5: HKEY_LOCAL_MACHINE\\SOFTWARE\\TindlewaySystems\\Quorvane\\StartUp: removed",
        L"Step 6: HKEY_LOCAL_MACHINE\\SOFTWARE\\TindlewaySystems\\Quorvane\\printOptions: removed",
        L"Step 7: HKEY_LOCAL_MACHINE\\SOFTWARE\\TindlewaySystems\\Quorvane\\columnNames: removed",
        L"Step 8: HKEY_LOCAL_MACHINE\\SOFTWARE\\TindlewaySystems\\Quorvane\\1.2: removed",
        L"Step 9: HKEY_LOCAL_MACHINE\\SOFTWARE\\TindlewaySystems\\Quorvane: removed"}},
      {"a location the guard refuses", "C:\\WINDOWS\\", [](SimulatedPlatform&) {}, 3010,
       {L"Operating system: Windows 2000 or XP",
        L"Install location: C:\\WINDOWS (refused: a drive root, or a folder of the system or the users, or one "
        L"that holds them)",
        L"Step 1: C:\\Documents and Settings\\All Users\\Desktop\\Quorvane.lnk: removed",
        L"Step 2: C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Quorvane: not present",
        L"Step 3: C:\\WINDOWS: refused (a drive root, or a folder of the system or the users, or one that holds "
        L"them)"}},
      {"a folder link inside the install folder", "C:\\Program Files\\Quorvane\\",
       [](SimulatedPlatform& p) {
         p.drive.AddFile(L"C:\\Documents and Settings\\ann\\My Documents\\letter.doc");
         p.drive.AddFolderLink(L"C:\\Program Files\\Quorvane\\Docs", L"C:\\Documents and Settings\\ann\\My Documents");
       },
       3010,
       {L"Operating system: Windows 2000 or XP",
        L"Install location: C:\\Program Files\\Quorvane (will be deleted as C:\\Program Files\\Quorvane)",
        L"Folder link removed by itself, not followed: C:\\Program Files\\Quorvane\\Docs",
        L"Step 1: C:\\Documents and Settings\\All Users\\Desktop\\Quorvane.lnk: removed"}},
      {"a folder link that cannot be removed by itself", "C:\\Program Files\\Quorvane\\",
       [](SimulatedPlatform& p) {
         p.drive.AddFolder(L"C:\\Documents and Settings\\ann\\My Documents");
         p.drive.AddFolderLink(L"C:\\Program Files\\Quorvane\\Docs", L"C:\\Documents and Settings\\ann\\My Documents");
         p.drive.PinLink(L"C:\\Program Files\\Quorvane\\Docs");
       },
       1603,
       {L"Operating system: Windows 2000 or XP",
        L"Install location: C:\\Program Files\\Quorvane (will be deleted as C:\\Program Files\\Quorvane)",
        L"Failed: error 70: A folder link cannot be removed without following it, so nothing of Quorvane has been "
        L"removed (C:\\Program Files\\Quorvane\\Docs)"}},
      {"an install folder that is a link", "C:\\Apps\\Quorvane\\", [](SimulatedPlatform& p) { LinkToDriveD(p); },
       3010, ThroughTheLink(L"Folder link removed after the folder it leads to: C:\\Apps\\Quorvane")},
      {"an install folder that is a link the system keeps", "C:\\Apps\\Quorvane\\",
       [](SimulatedPlatform& p) {
         LinkToDriveD(p);
         p.drive.PinLink(L"C:\\Apps\\Quorvane");
       },
       3010, ThroughTheLink(L"Folder link left in place (error 5), the folder it leads to removed: C:\\Apps\\Quorvane")},
      {"an install folder that is a link to a server", "C:\\Apps\\Quorvane\\",
       [](SimulatedPlatform& p) {
         p.drive.AddFile(L"C:\\Share\\Quorvane\\Quorvane.exe");
         p.drive.AddFolderLink(L"C:\\Apps\\Quorvane", L"C:\\Share\\Quorvane",
                               {qvn::kSymbolicLinkTag, L"\\??\\UNC\\fs1\\apps\\Quorvane"});
       },
       1603,
       {L"Operating system: Windows 2000 or XP",
        L"Install location: C:\\Apps\\Quorvane (refused, nothing is removed: a folder link that leads to a server "
        L"(\\??\\UNC\\fs1\\apps\\Quorvane))",
        L"Failed: error 75: Path/File access error: the install folder is refused, so nothing of Quorvane has been "
        L"removed: a folder link that leads to a server (\\??\\UNC\\fs1\\apps\\Quorvane) (C:\\Apps\\Quorvane)"}},
      {"a file the user may not delete", "C:\\Program Files\\Quorvane\\",
       [](SimulatedPlatform& p) { p.drive.DenyOpen(L"C:\\Program Files\\Quorvane\\Quorvane.exe"); }, 1603,
       {L"Operating system: Windows 2000 or XP",
        L"Install location: C:\\Program Files\\Quorvane (will be deleted as C:\\Program Files\\Quorvane)",
        L"Failed: error 70: Windows does not allow it to be deleted, so nothing of Quorvane has been removed "
        L"(C:\\Program Files\\Quorvane\\Quorvane.exe)"}},
      {"a registry deletion that fails", "C:\\Program Files\\Quorvane\\",
       [](SimulatedPlatform& p) { p.WithholdEntryPoint("RegDeleteKeyA"); }, 1603,
       {L"Operating system: Windows 2000 or XP",
        L"Install location: C:\\Program Files\\Quorvane (will be deleted as C:\\Program Files\\Quorvane)",
        L"Step 1: C:\\Documents and Settings\\All Users\\Desktop\\Quorvane.lnk: removed",
        L"Step 2: C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Quorvane: not present",
        L"Step 3: C:\\Program Files\\Quorvane: removed",
        L"Step 4: HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorvane: failed "
        L"(error 453: Can't find DLL entry point RegDeleteKeyA in advapi32.dll)"}},
      {"a settings subkey the removal does not name", "C:\\Program Files\\Quorvane\\",
       [](SimulatedPlatform& p) { p.registry.CreateKey(kSettings + "\\Recent"); }, 3010,
       {L"Operating system: Windows 2000 or XP",
        L"Install location: C:\\Program Files\\Quorvane (will be deleted as C:\\Program Files\\Quorvane)",
        L"Step 1: C:\\Documents and Settings\\All Users\\Desktop\\Quorvane.lnk: removed",
        L"Step 2: C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Quorvane: not present",
        L"Step 3: C:\\Program Files\\Quorvane: removed",
        L"Step 4: HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorvane: removed",
        L"Step 5: HKEY_LOCAL_MACHINE\\SOFTWARE\\TindlewaySystems\\Quorvane\\StartUp: removed",
        L"Step 6: HKEY_LOCAL_MACHINE\\SOFTWARE\\TindlewaySystems\\Quorvane\\printOptions: removed",
        L"Step 7: HKEY_LOCAL_MACHINE\\SOFTWARE\\TindlewaySystems\\Quorvane\\columnNames: removed",
        L"Step 8: HKEY_LOCAL_MACHINE\\SOFTWARE\\TindlewaySystems\\Quorvane\\1.2: removed",
        L"Step 9: HKEY_LOCAL_MACHINE\\SOFTWARE\\TindlewaySystems\\Quorvane: refused (subkeys are left below it)"}},
      {"a registry key the user may not delete", "C:\\Program Files\\Quorvane\\",
       [](SimulatedPlatform& p) { p.registry.AllowReadOnly(kSettings + "\\printOptions"); }, 1603,
       {L"Operating system: Windows 2000 or XP",
        L"Install location: C:\\Program Files\\Quorvane (will be deleted as C:\\Program Files\\Quorvane)",
        L"Step 1: C:\\Documents and Settings\\All Users\\Desktop\\Quorvane.lnk: removed",
        L"Step 2: C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Quorvane: not present",
        L"Step 3: C:\\Program Files\\Quorvane: removed",
        L"Step 4: HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorvane: removed",
        L"Step 5: HKEY_LOCAL_MACHINE\\SOFTWARE\\TindlewaySystems\\Quorvane\\StartUp: removed",
        L"Step 6: HKEY_LOCAL_MACHINE\\SOFTWARE\\TindlewaySystems\\Quorvane\\printOptions: failed (access denied, "
        L"registry error 5)",
        L"Step 7: HKEY_LOCAL_MACHINE\\SOFTWARE\\TindlewaySystems\\Quorvane\\columnNames: removed",
        L"Step 8: HKEY_LOCAL_MACHINE\\SOFTWARE\\TindlewaySystems\\Quorvane\\1.2: removed",
        L"Step 9: HKEY_LOCAL_MACHINE\\SOFTWARE\\TindlewaySystems\\Quorvane: refused (subkeys are left below it)"}},
      // Left for the restart: what was moved aside is listed there; what could
      // not be is listed where it is, which a reinstall before the restart loses.
      {"a running program, moved aside", "C:\\Program Files\\Quorvane\\",
       [](SimulatedPlatform& p) { p.drive.MapImage(L"C:\\Program Files\\Quorvane\\Quorvane.exe"); }, 3010,
       {L"Operating system: Windows 2000 or XP",
        L"Install location: C:\\Program Files\\Quorvane (will be deleted as C:\\Program Files\\Quorvane)",
        L"In use: " + program, L"In use, moved aside: " + program + L" to " + aside + L"\\1 Quorvane.exe",
        L"Removed at the restart: " + aside + L"\\1 Quorvane.exe", L"Removed at the restart: " + aside + L"\\QvnRemove.mark",
        L"Removed at the restart: " + aside},
       true},
      {"a file held open, listed where it is", "C:\\Program Files\\Quorvane\\",
       [](SimulatedPlatform& p) { p.drive.HoldOpen(L"C:\\Program Files\\Quorvane\\Quorvane.exe"); }, 3010,
       {L"Operating system: Windows 2000 or XP",
        L"Install location: C:\\Program Files\\Quorvane (will be deleted as C:\\Program Files\\Quorvane)",
        L"In use: " + program, L"Removed at the restart, listed where it is: " + program,
        L"Removed at the restart, listed where it is: C:\\Program Files\\Quorvane"},
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    int exitCode = 0;
    const std::vector<std::wstring> lines = LogOf(c.arrange, c.location, c.removeAtRestart, exitCode);
    EXPECT_EQ(exitCode, c.exitCode);
    ASSERT_GE(lines.size(), c.lines.size());
    EXPECT_EQ(std::vector<std::wstring>(lines.begin(), lines.begin() + static_cast<long>(c.lines.size())), c.lines);
  }
}

// The main window's removal reports to the window's watch, which hands every
// event on to the log: the log of a run through the watch is that of the
// same run told to the log alone.
TEST(RemovalLog, RecordsTheSameThroughTheMainWindowsWatch) {
  static constexpr wchar_t kProgram[] = L"C:\\Program Files\\Quorvane\\Quorvane.exe";
  struct Case {
    const char* what;
    void (*arrange)(SimulatedPlatform&);
  };
  const Case cases[] = {
      {"a folder link inside the install folder",
       [](SimulatedPlatform& p) {
         p.drive.AddFolder(L"C:\\Documents and Settings\\ann\\My Documents");
         p.drive.AddFolderLink(L"C:\\Program Files\\Quorvane\\Docs", L"C:\\Documents and Settings\\ann\\My Documents");
       }},
      {"a running program moved aside for the restart", [](SimulatedPlatform& p) { p.drive.MapImage(kProgram); }},
      {"the restart refused",
       [](SimulatedPlatform& p) {
         p.drive.MapImage(kProgram);
         p.registry.AllowReadOnly(SimulatedPlatform::kSessionManager);
       }},
      {"a failed step", [](SimulatedPlatform& p) { p.drive.Lock(kProgram); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::wstring> told[2];
    for (const bool watched : {false, true}) {
      SimulatedPlatform platform;
      Install(platform, "C:\\Program Files\\Quorvane\\");
      c.arrange(platform);
      Lines sink;
      qvn::RemovalLog log(sink);
      qvn::RemovalWatch watch(reinterpret_cast<HWND>(0x100), reinterpret_cast<HWND>(0x104), &log);
      qvn::ToolState state;
      qvn::InitToolState(state);
      qvn::RemovalOptions options;
      options.observer = watched ? static_cast<qvn::RemovalObserver*>(&watch) : &log;
      const auto ask = [](const qvn::InUse& found) {
        return found.restartRefusal.empty() ? qvn::InUseAnswer::RemoveAtRestart : qvn::InUseAnswer::Cancel;
      };
      try {
        qvn::RemoveWhenNotInUse(state, qvn::PlanRemoval(state), ask, options);
      } catch (const qvn::Failure&) {
        // the failed step's line is what is compared
      }
      told[watched] = sink.lines;
    }
    EXPECT_FALSE(told[false].empty());
    EXPECT_EQ(told[true], told[false]);
  }
}

TEST(UnattendedRemoval, RestartsOnlyAfterARemovalThatTookSomethingAwayAndRanToItsEnd) {
  struct Case {
    const char* what;
    void (*arrange)(SimulatedPlatform&);
    int exitCode;
    bool restarts;
  };
  const Case cases[] = {
      {"a full removal", [](SimulatedPlatform& p) { Install(p, "C:\\Program Files\\Quorvane\\"); }, 1641, true},
      {"nothing there: run again at every start-up", [](SimulatedPlatform&) {}, 0, false},
      {"something in use", [](SimulatedPlatform& p) {
         Install(p, "C:\\Program Files\\Quorvane\\");
         p.drive.MapImage(L"C:\\Program Files\\Quorvane\\Quorvane.exe");
       }, 1618, false},
      {"a file the user may not delete", [](SimulatedPlatform& p) {
         Install(p, "C:\\Program Files\\Quorvane\\");
         p.drive.DenyOpen(L"C:\\Program Files\\Quorvane\\Quorvane.exe");
       }, 1603, false},
      {"a registry step that failed", [](SimulatedPlatform& p) {
         Install(p, "C:\\Program Files\\Quorvane\\");
         p.WithholdEntryPoint("RegDeleteKeyA");
       }, 1603, false},
      {"a settings subkey the removal does not name: kept, no failure", [](SimulatedPlatform& p) {
         Install(p, "C:\\Program Files\\Quorvane\\");
         p.registry.CreateKey(kSettings + "\\Recent");
       }, 1641, true},
      {"a registry key the user may not delete", [](SimulatedPlatform& p) {
         Install(p, "C:\\Program Files\\Quorvane\\");
         p.registry.AllowReadOnly(kUninstall);
       }, 1603, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SimulatedPlatform platform;
    c.arrange(platform);
    EXPECT_EQ(qvn::ExitCode(RunSilently(/*restart=*/true, nullptr)), c.exitCode);
    EXPECT_EQ(platform.CallCount("ExitWindowsEx"), c.restarts ? 1 : 0);
  }
}

TEST(LogFile, AWriteThatFailsStopsTheLogAndChangesNothingElse) {
  SimulatedPlatform platform;
  Install(platform, "C:\\Program Files\\Quorvane\\");
  platform.drive.AddFolder(L"C:\\logs");
  platform.FailCall("WriteFile", 3, ERROR_DISK_FULL);
  DWORD error = 0;
  std::unique_ptr<qvn::LogFile> file = qvn::LogFile::OpenForAppending(L"C:\\logs\\qvn.log", true, error);
  ASSERT_NE(file, nullptr);
  qvn::RemovalLog log(*file);
  log.Started(L"QvnRemove.exe /S");
  EXPECT_EQ(qvn::ExitCode(RunSilently(false, &log)), 3010);
  log.Ended(3010);
  EXPECT_FALSE(platform.drive.Exists(kShortcut));
  EXPECT_EQ(platform.CallCount("WriteFile"), 3) << "no write is tried after the first that failed";
  EXPECT_EQ(platform.drive.Contents(L"C:\\logs\\qvn.log"),
            "2026-12-08 09:05:07  PC-0417  QvnRemove 1.01 started: QvnRemove.exe /S\r\n"
            "2026-12-08 09:05:07  PC-0417  Operating system: Windows 2000 or XP\r\n");
  file.reset();
  EXPECT_EQ(platform.openFiles, 0);
}

// Every machine's log may be one file on a share: each family opens it so that
// other runs can append at the same time, and puts each line at the end. The
// 95/98/ME way locks from the start of the file, over anything a log can hold.
TEST(LogFile, OpensAndWritesSoThatOtherRunsCanAppendToo) {
  const std::wstring appendOnly = L"CreateFileW C:\\logs\\qvn.log FILE_APPEND_DATA share READ|WRITE";
  const std::wstring forWriting = L"CreateFileA C:\\logs\\qvn.log GENERIC_WRITE share READ|WRITE";
  const std::vector<std::wstring> lockedLine = {L"LockFile 0 2147483647", L"SetFilePointer 0 FILE_END", L"WriteFile",
                                                L"UnlockFile 0 2147483647"};
  const auto then = [](std::vector<std::wstring> calls, const std::vector<std::wstring>& more) {
    calls.insert(calls.end(), more.begin(), more.end());
    return calls;
  };
  struct Case {
    const char* what;
    bool ntFamily;
    const char* failsFirst;  // the first call of it fails with `error`
    LONG error;
    std::vector<std::wstring> calls;
    const char* computer;
  };
  const Case cases[] = {
      {"NT: by its wide name, for appending only", true, "", 0, {appendOnly, L"WriteFile", L"WriteFile"}, "PC-0417"},
      {"95/98/ME: each line at the end under a lock", false, "", 0, then(then({forWriting}, lockedLine), lockedLine),
       "PC-0417"},
      {"95/98/ME: another run's lock is waited for", false, "LockFile", ERROR_LOCK_VIOLATION,
       then(then({forWriting, L"LockFile 0 2147483647", L"Sleep"}, lockedLine), lockedLine), "PC-0417"},
      {"NT: a write that meets a 95/98/ME run's lock is tried again", true, "WriteFile", ERROR_LOCK_VIOLATION,
       {appendOnly, L"WriteFile", L"Sleep", L"WriteFile", L"WriteFile"}, "PC-0417"},
      {"the computer's name refused", true, "GetComputerNameA", ERROR_ACCESS_DENIED,
       {appendOnly, L"WriteFile", L"WriteFile"}, "?"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SimulatedPlatform platform;
    platform.drive.AddFolder(L"C:\\logs");
    if (*c.failsFirst != '\0') platform.FailCall(c.failsFirst, 1, c.error);
    DWORD error = 0;
    std::unique_ptr<qvn::LogFile> file = qvn::LogFile::OpenForAppending(L"C:\\logs\\qvn.log", c.ntFamily, error);
    ASSERT_NE(file, nullptr);
    file->Write(L"first");
    file->Write(L"second");
    EXPECT_EQ(platform.fileCalls, c.calls);
    const std::string prefix = std::string("2026-12-08 09:05:07  ") + c.computer + "  ";
    EXPECT_EQ(platform.drive.Contents(L"C:\\logs\\qvn.log"), prefix + "first\r\n" + prefix + "second\r\n");
  }
}

TEST(LogLocation, ALogInsideWhatIsRemovedIsRefused) {
  struct Case {
    const wchar_t* log;
    bool refused;
  };
  const Case cases[] = {
      {L"C:\\Program Files\\Quorvane\\remove.log", true},
      {L"c:\\program files\\quorvane\\logs\\..\\remove.log", true},
      {L"C:\\PROGRA~1\\Quorvane\\remove.log", true},
      {L"\\\\?\\C:\\Program Files\\Quorvane\\remove.log", true},
      {L"C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Quorvane\\x.log", true},
      {L"C:\\Documents and Settings\\All Users\\Desktop\\Quorvane.lnk", true},
      {L"C:\\Program Files\\Quorvane.log", false},
      {L"C:\\Program Files\\Quorvane2\\remove.log", false},
      {L"C:\\logs\\remove.log", false},
      // This computer's administrative share of the drive names the same place.
      {L"\\\\localhost\\C$\\Program Files\\Quorvane\\r.log", true},
      {L"\\\\127.0.0.1\\c$\\program files\\quorvane\\r.log", true},
      {L"\\\\pc-0417\\C$\\Program Files\\Quorvane\\r.log", true},
      {L"\\\\PC-0417.corp.example\\C$\\PROGRA~1\\Quorvane\\r.log", true},
      {L"\\\\?\\UNC\\localhost\\C$\\Program Files\\Quorvane\\r.log", true},
      {L"\\\\server\\C$\\Program Files\\Quorvane\\r.log", false},
      {L"\\\\localhost\\logs\\r.log", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.log, c.log + std::wcslen(c.log)));
    SimulatedPlatform platform;
    Install(platform, "C:\\Program Files\\Quorvane\\");
    platform.shortNames["C:\\Program Files\\Quorvane"] = "C:\\PROGRA~1\\Quorvane";
    qvn::UnattendedStart start = qvn::StartUnattended();
    EXPECT_EQ(qvn::LogLiesInRemovalTargets(c.log, start.plan), c.refused);
    EXPECT_TRUE(platform.drive.Exists(kShortcut)) << "deciding removes nothing";
  }
}

// Each folder link the removal takes away by itself, before the first step
// for the links inside the targets, after the install folder's step for the
// link that leads to it; and a link that leads where nothing may be removed.
TEST(PlanListing, NamesEachFolderLinkAndWhenItGoes) {
  struct Case {
    const char* what;
    const char* location;
    void (*arrange)(SimulatedPlatform&);
    std::vector<std::wstring> lines;  // the first of the listing
  };
  const std::wstring shortcut = L"Step 1: delete file " + std::wstring(kShortcut) + L": present";
  const std::wstring group = L"Step 2: delete folder C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\"
                             L"Quorvane: not present";
  const Case cases[] = {
      {"a link inside the install folder", "C:\\Program Files\\Quorvane\\",
       [](SimulatedPlatform& p) {
         p.drive.AddFolder(L"C:\\Shared");
         p.drive.AddFolderLink(L"C:\\Program Files\\Quorvane\\Shared", L"C:\\Shared");
       },
       {L"Before step 1: remove folder link C:\\Program Files\\Quorvane\\Shared by itself, not following it", shortcut}},
      {"an install folder that is a link", "C:\\Apps\\Quorvane\\", LinkToDriveD,
       {shortcut, group, L"Step 3: delete folder D:\\Quorvane: present",
        L"After step 3: remove folder link C:\\Apps\\Quorvane by itself, once the folder it leads to is gone"}},
      {"an install folder that is a link to a whole volume", "C:\\Apps\\Quorvane\\",
       [](SimulatedPlatform& p) {
         p.drive.AddFolder(L"C:\\Shared");
         p.drive.AddFolderLink(L"C:\\Apps\\Quorvane", L"C:\\Shared", {qvn::kJunctionTag, L"\\??\\Volume{01}\\"});
       },
       {L"Nothing would be removed: the install folder C:\\Apps\\Quorvane is refused: a folder link that leads to "
        L"a whole volume (\\??\\Volume{01}\\)",
        shortcut, group,
        L"Step 3: delete folder C:\\Apps\\Quorvane: refused by the guard, so nothing would be removed (a folder "
        L"link that leads to a whole volume (\\??\\Volume{01}\\))"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SimulatedPlatform platform;
    Install(platform, c.location);
    c.arrange(platform);
    qvn::ToolState state;
    qvn::InitToolState(state);
    const std::vector<std::wstring> lines = qvn::ListPlan(state, qvn::PlanRemoval(state));
    ASSERT_GE(lines.size(), c.lines.size());
    EXPECT_EQ(std::vector<std::wstring>(lines.begin(), lines.begin() + static_cast<long>(c.lines.size())), c.lines);
    EXPECT_TRUE(platform.drive.Exists(kShortcut) && platform.registry.KeyExists(kUninstall)) << "listing removes nothing";
  }
}

TEST(RemovalLog, RecordsTheRestartAndTheCommandLine) {
  Lines sink;
  qvn::RemovalLog log(sink);
  log.Started(L"QvnRemove.exe /S /RESTART");
  log.RestartRequested(false);
  log.Ended(3010);
  EXPECT_EQ(sink.lines, (std::vector<std::wstring>{L"QvnRemove 1.01 started: QvnRemove.exe /S /RESTART",
                                                   L"Restart requested: refused", L"Exit code: 3010"}));
}

}  // namespace
