#include <gtest/gtest.h>

#include "app/RemovalLog.h"
#include "app/UnattendedRemoval.h"
#include "tests/fakes/SimulatedPlatform.h"

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

// The log of one unattended run, from what it found to its last step.
std::vector<std::wstring> LogOf(void (*arrange)(SimulatedPlatform&), const char* location, int& exitCode) {
  SimulatedPlatform platform;
  Install(platform, location);
  arrange(platform);
  Lines sink;
  qvn::RemovalLog log(sink);
  exitCode = qvn::ExitCode(qvn::RunUnattended(false, &log));
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
  };
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
      {"a failed step", "C:\\Program Files\\Quorvane\\",
       [](SimulatedPlatform& p) { p.drive.Lock(L"C:\\Program Files\\Quorvane\\Quorvane.exe"); }, 1603,
       {L"Operating system: Windows 2000 or XP",
        L"Install location: C:\\Program Files\\Quorvane (will be deleted as C:\\Program Files\\Quorvane)",
        L"Step 1: C:\\Documents and Settings\\All Users\\Desktop\\Quorvane.lnk: removed",
        L"Step 2: C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Quorvane: not present",
        L"Step 3: C:\\Program Files\\Quorvane: failed (error 70: Permission denied)",
        L"Failed: error 70: Permission denied (C:\\Program Files\\Quorvane)"}},
      {"a registry deletion that fails", "C:\\Program Files\\Quorvane\\",
       [](SimulatedPlatform& p) { p.WithholdEntryPoint("RegDeleteKeyA"); }, 3010,
       {L"Operating system: Windows 2000 or XP",
        L"Install location: C:\\Program Files\\Quorvane (will be deleted as C:\\Program Files\\Quorvane)",
        L"Step 1: C:\\Documents and Settings\\All Users\\Desktop\\Quorvane.lnk: removed",
        L"Step 2: C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Quorvane: not present",
        L"Step 3: C:\\Program Files\\Quorvane: removed",
        L"Step 4: HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorvane: failed "
        L"(error 453: Can't find DLL entry point RegDeleteKeyA in advapi32.dll)"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    int exitCode = 0;
    const std::vector<std::wstring> lines = LogOf(c.arrange, c.location, exitCode);
    EXPECT_EQ(exitCode, c.exitCode);
    ASSERT_GE(lines.size(), c.lines.size());
    EXPECT_EQ(std::vector<std::wstring>(lines.begin(), lines.begin() + static_cast<long>(c.lines.size())), c.lines);
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
