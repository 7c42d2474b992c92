#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <regex>
#include <string>

#include "services/DeleteAtRestart.h"
#include "services/RemovalTurn.h"
#include "tests/e2e/ProgramDriver.h"
#include "tests/e2e/RelayLog.h"
#include "tests/wine/FileFixture.h"
#include "tests/wine/Installation.h"
#include "tests/wine/RegistryFixture.h"
#include "ui/InUsePromptLayout.h"

namespace {

using namespace fixture;

const char kMain[] = "Remove Quorvane";
const char kDone[] = "Completed";
const char kStart[] = "Start Removal Process";
const char kRestart[] = "Press to restart the Computer";
const char kPrompt[] = "QvnRemove";

bool Called(const std::vector<std::string>& calls, const std::string& call) {
  return std::any_of(calls.begin(), calls.end(), [&](const std::string& c) { return c.rfind(call, 0) == 0; });
}

std::size_t PositionOf(const std::vector<std::string>& calls, const std::string& call) {
  for (std::size_t i = 0; i < calls.size(); ++i) {
    if (calls[i].rfind(call, 0) == 0) return i;
  }
  return calls.size();
}

class Scenario : public testing::Test {
 protected:
  void SetUp() override { LayOutInstallation(); }
  void TearDown() override { RemoveInstallation(); }

  struct Windows {
    HWND main;
    HWND done;
  };

  // Waits for the main window, presses "Start Removal Process" and waits for
  // the window called `title` (the completion window unless named); either
  // handle is null when it did not appear.
  static Windows RemoveThroughTheMainWindow(const e2e::RunningProgram& program, const char* title = kDone) {
    HWND main = program.WaitForWindow(kMain);
    if (main == nullptr) return {nullptr, nullptr};
    e2e::Click(main, kStart);
    return {main, program.WaitForWindow(title)};
  }

  struct Stopped {
    HWND main;
    std::optional<e2e::MessageBoxSeen> box;
  };

  // Waits for the main window, presses "Start Removal Process" and waits for
  // the box that stops the removal; the box is missing when none came.
  static Stopped PressStartAndWaitForABox(const e2e::RunningProgram& program) {
    HWND main = program.WaitForWindow(kMain);
    if (main == nullptr) return {nullptr, std::nullopt};
    e2e::Click(main, kStart);
    return {main, program.WaitForMessageBox()};
  }
};

TEST_F(Scenario, ExitLeavesEverythingInPlace) {
  e2e::RunningProgram program;
  HWND main = program.WaitForWindow(kMain);
  ASSERT_NE(main, nullptr);
  e2e::Click(main, "EXIT");
  ASSERT_TRUE(program.WaitForExit());
  EXPECT_EQ(program.ExitCode(), 0u);
  EXPECT_TRUE(AllFilesPresent());
  EXPECT_TRUE(AllRegistryKeysPresent());
}

TEST_F(Scenario, FullRemovalThenRestartEndsTheProgram) {
  const long long logStart = e2e::RelayLogEnd();
  e2e::RunningProgram program({e2e::kRelayEnvironment});
  const auto [main, done] = RemoveThroughTheMainWindow(program);
  ASSERT_NE(done, nullptr);
  EXPECT_FALSE(AnyFileLeft());
  EXPECT_FALSE(AnyRegistryKeyLeft());
  EXPECT_TRUE(KeyExists(kOtherProductKey));
  EXPECT_FALSE(program.WaitForMessageBox(500).has_value());

  e2e::Click(done, kRestart);
  ASSERT_TRUE(program.WaitForExit());
  EXPECT_EQ(program.ExitCode(), 0u);

  const std::vector<std::string> calls = e2e::RelayedCalls(program.ThreadId(), logStart);
  const std::size_t restart = PositionOf(calls, "user32.ExitWindowsEx(00000002,00000000)");
  ASSERT_LT(restart, calls.size()) << "ExitWindowsEx(EWX_REBOOT, 0) was not called";
  const std::size_t privilege = PositionOf(calls, "advapi32.AdjustTokenPrivileges(");
  if (IsNtFamily()) {
    EXPECT_LT(PositionOf(calls, "advapi32.LookupPrivilegeValueA("), privilege);
    EXPECT_LT(privilege, restart) << "the shutdown privilege must be enabled before the restart";
  } else {
    EXPECT_FALSE(Called(calls, "advapi32.AdjustTokenPrivileges(")) << "the 95/98/ME family has no privileges";
  }
}

TEST_F(Scenario, NothingInstalledStillCompletes) {
  RemoveInstallation();
  e2e::RunningProgram program;
  HWND main = program.WaitForWindow(kMain);
  ASSERT_NE(main, nullptr);
  EXPECT_NE(e2e::FindControl(e2e::ReadControls(main), "Quorvane Program location not found..."), nullptr);
  e2e::Click(main, kStart);
  EXPECT_NE(program.WaitForWindow(kDone), nullptr);
  EXPECT_FALSE(program.WaitForMessageBox(500).has_value());
}

TEST_F(Scenario, ShortcutAndGroupOnlyWhereTheSystemReportsThemAreRemoved) {
  const ShellPaths fixed = RunningFamilysPaths();
  const ShellPaths reported = ReportedShellPaths();
  ASSERT_FALSE(reported.shortcut.empty());
  RemoveTree(fixed.shortcut);
  RemoveTree(fixed.group);
  MakeFile(reported.shortcut);
  MakeFile(reported.group + "\\Quorvane.lnk");
  e2e::RunningProgram program;
  const auto [main, done] = RemoveThroughTheMainWindow(program);
  ASSERT_NE(done, nullptr);
  EXPECT_FALSE(PathExists(reported.shortcut));
  EXPECT_FALSE(PathExists(reported.group));
  EXPECT_FALSE(AnyFileLeft());
  EXPECT_FALSE(program.WaitForMessageBox(300).has_value());
}

TEST_F(Scenario, StartPressedTwiceRunsTwiceAndShowsOneCompletionWindow) {
  e2e::RunningProgram program;
  HWND main = program.WaitForWindow(kMain);
  ASSERT_NE(main, nullptr);
  e2e::Click(main, kStart);
  ASSERT_NE(program.WaitForWindow(kDone), nullptr);
  const std::string shortcut = RunningFamilysPaths().shortcut;
  MakeFile(shortcut);  // put back: the second run must remove it again
  e2e::Click(main, kStart);
  for (int waited = 0; waited < 100 && PathExists(shortcut); ++waited) ::Sleep(50);
  EXPECT_FALSE(PathExists(shortcut));
  ::Sleep(300);
  EXPECT_EQ(program.CountWindows(kDone), 1);
}

// Another run removing (this test program, holding the turn as such a run
// holds it, under the name this Windows gives it): Start says so in a box and
// removes nothing. The main window held nothing while it waited, and removes
// everything once the other run has ended.
TEST_F(Scenario, StartWhileAnotherRunRemovesSaysSoAndRemovesNothing) {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  ASSERT_TRUE(::GetVersionExA(&version));
  const std::string name = (IsNtFamily() && version.dwMajorVersion >= 5 ? "Global\\" : "") +
                           std::string(qvn::kRemovalTurnName);
  HANDLE otherRun = ::CreateMutexA(nullptr, TRUE, name.c_str());
  ASSERT_NE(otherRun, nullptr);
  e2e::RunningProgram program;
  const Stopped stopped = PressStartAndWaitForABox(program);
  ASSERT_TRUE(stopped.box.has_value());
  EXPECT_EQ(stopped.box->title, "QvnRemove");
  EXPECT_NE(stopped.box->text.find("QvnRemove is already removing Quorvane"), std::string::npos) << stopped.box->text;
  program.Dismiss(*stopped.box);
  EXPECT_TRUE(AllFilesPresent());
  EXPECT_TRUE(AllRegistryKeysPresent());
  EXPECT_EQ(program.CountWindows(kDone), 0);

  ::ReleaseMutex(otherRun);
  ::CloseHandle(otherRun);
  e2e::Click(stopped.main, kStart);
  EXPECT_NE(program.WaitForWindow(kDone), nullptr);
  EXPECT_FALSE(AnyFileLeft());
  EXPECT_FALSE(AnyRegistryKeyLeft());
}

TEST_F(Scenario, ClosedCompletionWindowLeavesTheMainOneUsable) {
  e2e::RunningProgram program;
  const auto [main, done] = RemoveThroughTheMainWindow(program);
  ASSERT_NE(done, nullptr);
  e2e::Close(done);
  ASSERT_TRUE(program.WaitUntilGone(done));
  EXPECT_FALSE(program.WaitForExit(300));
  EXPECT_TRUE(::IsWindowVisible(main));
  e2e::Click(main, kStart);
  EXPECT_NE(program.WaitForWindow(kDone), nullptr) << "the completion window opens anew";
}

TEST_F(Scenario, ClosedMainWindowStillLetsTheRestartEndTheProgram) {
  e2e::RunningProgram program;
  const auto [main, done] = RemoveThroughTheMainWindow(program);
  ASSERT_NE(done, nullptr);
  e2e::Close(main);
  ASSERT_TRUE(program.WaitUntilGone(main));
  EXPECT_FALSE(program.WaitForExit(300)) << "the completion window keeps the program running";
  e2e::Click(done, kRestart);
  ASSERT_TRUE(program.WaitForExit());
  EXPECT_EQ(program.ExitCode(), 0u);
}

std::string ButtonText(HWND box, int id) {
  char text[64] = {};
  HWND button = ::GetDlgItem(box, id);
  if (button == nullptr) return "(none)";
  ::GetWindowTextA(button, text, sizeof text);
  return text;
}

std::string PromptText(HWND prompt) {
  char text[2048] = {};
  ::GetDlgItemTextA(prompt, qvn::kInUseText, text, sizeof text);
  return text;
}

const char kNothingRemoved[] = "Quorvane is still in use, so nothing has been removed.\r\n\r\nIn use: ";

TEST_F(Scenario, FileInUseIsFoundBeforeAnythingIsRemoved) {
  const std::string held = std::string(kInstallFolder) + "\\Data\\Templates\\default.qvt";
  std::optional<FileHeldByAnotherProcess> holder(std::in_place, held);
  e2e::RunningProgram program;
  auto [main, prompt] = RemoveThroughTheMainWindow(program, kPrompt);
  ASSERT_NE(prompt, nullptr);
  EXPECT_EQ(PromptText(prompt), kNothingRemoved + held +
                                    "\r\n\r\n"
                                    "Remove at Restart removes everything else now, and what is in use when the "
                                    "computer restarts.\r\n"
                                    "Retry looks again once you have closed Quorvane yourself.\r\n"
                                    "Cancel removes nothing.");
  // No program of Quorvane runs, so there is none to close; Retry is the default.
  EXPECT_EQ(ButtonText(prompt, qvn::kInUseClose), "(none)");
  EXPECT_EQ(ButtonText(prompt, qvn::kInUseRemoveAtRestart), "Remove at Restart");
  EXPECT_EQ(ButtonText(prompt, qvn::kInUseCancel), "Cancel");
  EXPECT_EQ(::GetWindowLongA(::GetDlgItem(prompt, qvn::kInUseRetry), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_EQ(::GetWindow(prompt, GW_OWNER), main);
  EXPECT_FALSE(::IsWindowEnabled(main)) << "the prompt is modal: the main window takes no input meanwhile";
  e2e::SaveScreenshot(prompt, "C:\\qvn-e2e\\shots\\file-in-use.bmp");
  EXPECT_TRUE(AllFilesPresent());
  EXPECT_TRUE(PathExists(RunningFamilysPaths().group + "\\Quorvane.lnk"));
  EXPECT_TRUE(PathExists(std::string(kInstallFolder) + "\\Quorvane.exe"));
  EXPECT_TRUE(AllRegistryKeysPresent());

  // Escape is Cancel: back to the main window, nothing removed, Start still answers.
  ::PostMessageA(prompt, WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(program.WaitUntilGone(prompt));
  EXPECT_TRUE(::IsWindowEnabled(main));
  EXPECT_EQ(program.CountWindows(kDone), 0);
  EXPECT_FALSE(program.WaitForExit(300));
  EXPECT_TRUE(AllFilesPresent());
  EXPECT_TRUE(AllRegistryKeysPresent());
  e2e::Click(main, kStart);
  prompt = program.WaitForWindow(kPrompt);
  ASSERT_NE(prompt, nullptr) << "Start asks again while the file is in use";

  // The user closes Quorvane and presses Enter, which is Retry: the removal runs to its end.
  holder.reset();
  ::PostMessageA(prompt, WM_KEYDOWN, VK_RETURN, 0);
  ASSERT_NE(program.WaitForWindow(kDone), nullptr);
  EXPECT_FALSE(AnyFileLeft());
  EXPECT_FALSE(AnyRegistryKeyLeft());
}

// The cases users meet most: Quorvane itself still running from its folder
// (a mapped image, no open handle), and a program whose current folder lies
// inside the install folder, there in a folder whose name the system's code
// page cannot spell (Cyrillic on a Western system), where an 8-bit walk sees
// only question marks and cannot look inside. Start finds it before anything
// is removed; ending the program and pressing Retry completes the removal.
TEST_F(Scenario, RunningProgramOrCurrentFolderIsFoundBeforeAnythingIsRemoved) {
  const std::string quorvane = std::string(kInstallFolder) + "\\Quorvane.exe";
  const std::string data = std::string(kInstallFolder) + "\\Data";
  const std::wstring foreign = L"C:\\Program Files\\Quorvane\\Data\\\u0414\u0430\u043d\u043d\u044b\u0435";
  struct Case {
    const char* what;
    std::string program;         // what runs
    std::wstring currentFolder;  // its current folder
    std::string inUse;           // what the prompt names, as the code page allows
    bool ntOnly;                 // folders can be opened on the NT family only
    bool readOnly = false;       // the program's file is read-only
  };
  const Case cases[] = {
      {"Quorvane.exe running from its folder", quorvane, L"C:\\qvn-e2e", quorvane, false},
      // Found by the mark, which a running program's image refuses: 95/98/ME
      // check by opening, which a read-only file running lets through.
      {"a read-only Quorvane.exe running", quorvane, L"C:\\qvn-e2e", quorvane, true, true},
      {"a program whose current folder is inside", ThisProgram(), std::wstring(data.begin(), data.end()), data, true},
      {"the same, the folder named outside the code page", ThisProgram(), foreign, data + "\\??????", true},
  };
  for (const Case& c : cases) {
    if (c.ntOnly && !IsNtFamily()) continue;
    SCOPED_TRACE(c.what);
    LayOutInstallation();
    ::CreateDirectoryW(c.currentFolder.c_str(), nullptr);
    ASSERT_TRUE(CopyThisProgramTo(quorvane));  // a real program in Quorvane's place
    if (c.readOnly) ::SetFileAttributesA(quorvane.c_str(), FILE_ATTRIBUTE_READONLY);
    std::optional<ProgramRunning> running(std::in_place, c.program, c.currentFolder);
    e2e::RunningProgram program;
    const auto [main, prompt] = RemoveThroughTheMainWindow(program, kPrompt);
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(PromptText(prompt).rfind(kNothingRemoved + c.inUse + "\r\n", 0), 0u) << PromptText(prompt);
    EXPECT_TRUE(AllFilesPresent());
    EXPECT_TRUE(PathExists(quorvane));
    EXPECT_EQ((::GetFileAttributesA(quorvane.c_str()) & FILE_ATTRIBUTE_READONLY) != 0, c.readOnly)
        << "the attribute taken off for the mark is back";
    EXPECT_TRUE(PathExists(RunningFamilysPaths().group + "\\Quorvane.lnk"));
    EXPECT_TRUE(AllRegistryKeysPresent());

    running.reset();  // the user closes it
    e2e::Click(prompt, "Retry");
    HWND done = program.WaitForWindow(kDone);
    ASSERT_NE(done, nullptr);
    EXPECT_FALSE(AnyFileLeft());
    EXPECT_FALSE(AnyRegistryKeyLeft());
    e2e::Close(done);
    e2e::Close(main);
    EXPECT_TRUE(program.WaitForExit());
  }
}

// Quorvane running from its folder with a window: "Close Quorvane" posts
// WM_CLOSE to it and waits. A program that ends is proved ended by WM_CLOSE by
// its exit code, and the removal completes; one that stays (its user did not
// answer "save your work?") is never ended by force, nothing is removed and
// the prompt asks again. A program of the same name elsewhere is never asked.
// "Remove at Restart" then moves the one that stays out of the way and lists
// it for the restart, everything else goes now, and the completion window,
// whose restart finishes the job, opens as after any removal.
TEST_F(Scenario, CloseQuorvaneAsksTheRunningProgramToCloseAndNeverForcesIt) {
  if (!IsNtFamily()) GTEST_SKIP() << "Wine's ToolHelp names a program without its folder on 95/98/ME too";
  const std::string quorvane = std::string(kInstallFolder) + "\\Quorvane.exe";
  const std::string namesake = "C:\\qvn-e2e\\other\\Quorvane.exe";
  const std::string moved = "C:\\Program Files\\QvnRemove.pending\\1 Quorvane.exe";
  MakeFolder("C:\\qvn-e2e\\other");
  ASSERT_TRUE(CopyThisProgramTo(namesake));
  for (const OnClose onClose : {OnClose::Ends, OnClose::Stays}) {
    const bool ends = onClose == OnClose::Ends;
    SCOPED_TRACE(ends ? "a program that ends when asked" : "a program that stays");
    LayOutInstallation();
    ASSERT_TRUE(CopyThisProgramTo(quorvane));
    ProgramRunning running(quorvane, "C:\\qvn-e2e", onClose);
    const ProgramRunning elsewhere(namesake, "C:\\qvn-e2e", OnClose::Ends);
    e2e::RunningProgram program;
    auto [main, prompt] = RemoveThroughTheMainWindow(program, kPrompt);
    ASSERT_NE(prompt, nullptr);
    const std::string text = PromptText(prompt);
    EXPECT_NE(text.find("\r\nRunning: " + quorvane + "\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find(namesake), std::string::npos) << text;
    EXPECT_EQ(ButtonText(prompt, qvn::kInUseClose), "Close Quorvane");
    if (ends) e2e::SaveScreenshot(prompt, "C:\\qvn-e2e\\shots\\in-use-prompt.bmp");
    e2e::Click(prompt, "Close Quorvane");
    if (!ends) {
      ASSERT_TRUE(program.WaitUntilGone(prompt));
      prompt = program.WaitForWindow(kPrompt, 20000);
      ASSERT_NE(prompt, nullptr) << "after the wait the prompt asks again";
      EXPECT_FALSE(running.Ended(0)) << "a program that stays is never ended by force";
      EXPECT_TRUE(AllFilesPresent());
      EXPECT_TRUE(AllRegistryKeysPresent());
      e2e::Click(prompt, "Remove at Restart");
    }
    ASSERT_NE(program.WaitForWindow(kDone, 20000), nullptr);
    EXPECT_FALSE(AnyFileLeft());
    EXPECT_FALSE(AnyRegistryKeyLeft());
    if (ends) {
      ASSERT_TRUE(running.Ended(0));
      EXPECT_EQ(running.ExitCode(), kEndedByClose) << "ended by WM_CLOSE, not by force";
    } else {
      EXPECT_TRUE(PathExists(moved));
      EXPECT_EQ(qvn::DeletionsPendingAtRestart().front(), std::wstring(moved.begin(), moved.end()));
    }
    EXPECT_FALSE(elsewhere.Ended(0)) << "a program of the same name elsewhere is not asked to close";
    running.End();
    ForgetWhatIsLeftForTheRestart();
  }
  RemoveTree("C:\\qvn-e2e\\other");
}

// The runner puts a folder link (a host symbolic link) inside the install
// folder, leading to a folder of the user's documents outside it, and names
// both: once in a folder named in the code page, once in one the code page
// cannot spell (Cyrillic on a Western system), whose entries an 8-bit walk
// cannot see. Wine cannot remove such a link by itself, so the removal must
// stop before anything is removed, and the documents must stay. The box
// names the link as well as the code page allows.
TEST_F(Scenario, FolderLinkThatCannotBeRemovedByItselfStopsBeforeAnythingIsRemoved) {
  wchar_t wideLink[MAX_PATH] = {};
  const char* kept = std::getenv("QVN_LINKED_FILE");
  ASSERT_TRUE(::GetEnvironmentVariableW(L"QVN_FOLDER_LINK", wideLink, MAX_PATH) != 0 && kept != nullptr)
      << "run by tests/e2e/run, which makes the link";
  ASSERT_NE(::GetFileAttributesW(wideLink) & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
  char link[MAX_PATH] = {};
  ::WideCharToMultiByte(CP_ACP, 0, wideLink, -1, link, MAX_PATH, nullptr, nullptr);
  ASSERT_TRUE(PathExists(kept));
  e2e::RunningProgram program;
  const std::optional<e2e::MessageBoxSeen> box = PressStartAndWaitForABox(program).box;
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->title, "QvnRemove");
  EXPECT_NE(box->text.find("nothing of Quorvane has been removed"), std::string::npos) << box->text;
  EXPECT_NE(box->text.find(std::string("Could not remove: ") + link), std::string::npos) << box->text;
  e2e::SaveScreenshot(box->handle, "C:\\qvn-e2e\\shots\\folder-link.bmp");
  EXPECT_TRUE(AllFilesPresent());
  EXPECT_TRUE(AllRegistryKeysPresent());
  EXPECT_TRUE(PathExists(kept));
  program.Dismiss(*box);
  ASSERT_TRUE(program.WaitForExit());
  EXPECT_EQ(program.ExitCode(), 1u);
  EXPECT_TRUE(PathExists(kept)) << "what the link leads to is never touched";
}

// A file that no program holds but that cannot be deleted all the same: the
// removal stops with the failure report. On the NT family the claim meets it
// before anything is removed; on 95/98/ME it gets past the in-use check and
// the scripting object stops there. The runner makes the file immutable on
// the host side and names it in QVN_UNDELETABLE.
TEST_F(Scenario, UndeletableFileStopsTheRemovalWithTheFailureReport) {
  const char* undeletable = std::getenv("QVN_UNDELETABLE");
  ASSERT_NE(undeletable, nullptr) << "run by tests/e2e/run, which makes the file";
  ASSERT_TRUE(PathExists(undeletable));
  const long long logStart = e2e::RelayLogEnd();
  e2e::RunningProgram program({e2e::kRelayEnvironment});
  const std::optional<e2e::MessageBoxSeen> box = PressStartAndWaitForABox(program).box;
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->title, "QvnRemove");
  EXPECT_NE(box->text.find("Error "), std::string::npos) << box->text;
  EXPECT_NE(box->text.find("Could not remove: C:\\Program Files\\Quorvane"), std::string::npos) << box->text;
  EXPECT_EQ(ButtonText(box->handle, IDOK), "OK");
  e2e::SaveScreenshot(box->handle, "C:\\qvn-e2e\\shots\\failure-report.bmp");
  EXPECT_EQ(program.CountWindows(kDone), 0);
  EXPECT_TRUE(AllRegistryKeysPresent());
  EXPECT_TRUE(PathExists(undeletable));
  if (IsNtFamily()) {
    EXPECT_NE(box->text.find("nothing of Quorvane has been removed"), std::string::npos) << box->text;
    EXPECT_TRUE(AllFilesPresent());
  }

  program.Dismiss(*box);
  ASSERT_TRUE(program.WaitForExit());
  EXPECT_EQ(program.ExitCode(), 1u);
  EXPECT_TRUE(AllRegistryKeysPresent());
  EXPECT_TRUE(Called(e2e::RelayedCalls(program.ThreadId(), logStart), "user32.MessageBoxA(")) << "the report is a message box";
}

TEST_F(Scenario, MainWindowThatCannotBeCreatedIsReportedAndEndsWithCode1) {
  const e2e::ProbeHook refusal(WH_CBT, "RefuseMainWindow", 0);
  e2e::RunningProgram program;
  const std::optional<e2e::MessageBoxSeen> box = program.WaitForMessageBox();
  ASSERT_TRUE(box.has_value()) << "a window that cannot be created is a failure the user is told of";
  EXPECT_EQ(box->title, "QvnRemove");
  EXPECT_NE(box->text.find("Error "), std::string::npos) << box->text;
  EXPECT_NE(box->text.find(": CreateWindowExA failed"), std::string::npos) << box->text;
  program.Dismiss(*box);
  ASSERT_TRUE(program.WaitForExit());
  EXPECT_EQ(program.ExitCode(), 1u);
  EXPECT_TRUE(AllRegistryKeysPresent());
}

// Wine carries out a restart by starting wineboot; with it out of the way the
// request is refused.
class WinebootMovedAway {
 public:
  WinebootMovedAway() { moved_ = ::MoveFileA(kWineboot, kAside) != 0; }
  ~WinebootMovedAway() {
    if (moved_) ::MoveFileA(kAside, kWineboot);
  }
  bool Moved() const { return moved_; }

 private:
  static constexpr const char* kWineboot = "C:\\windows\\system32\\wineboot.exe";
  static constexpr const char* kAside = "C:\\windows\\system32\\wineboot.exe.aside";
  bool moved_ = false;
};

TEST_F(Scenario, RefusedRestartIsToldAndTheProgramStillEnds) {
  e2e::RunningProgram program;
  const auto [main, done] = RemoveThroughTheMainWindow(program);
  ASSERT_NE(done, nullptr);
  WinebootMovedAway refusal;
  ASSERT_TRUE(refusal.Moved());
  e2e::Click(done, kRestart);
  const std::optional<e2e::MessageBoxSeen> box = program.WaitForMessageBox();
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->title, "Completed");
  EXPECT_NE(box->text.find("restart it yourself"), std::string::npos) << box->text;
  program.Dismiss(*box);
  ASSERT_TRUE(program.WaitForExit());
  EXPECT_EQ(program.ExitCode(), 0u);
}

// Wine's scripting runtime turned off for the programs started meanwhile, so
// that there is no Scripting.FileSystemObject to create.
class ScriptingRuntimeDisabled {
 public:
  ScriptingRuntimeDisabled() {
    ::RegCreateKeyExA(HKEY_CURRENT_USER, kOverrides, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
    ::RegSetValueExA(key_, "scrrun", 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
  }
  ~ScriptingRuntimeDisabled() {
    ::RegDeleteValueA(key_, "scrrun");
    ::RegCloseKey(key_);
  }

 private:
  static constexpr const char* kOverrides = "Software\\Wine\\DllOverrides";
  HKEY key_ = nullptr;
};

// 95/98/ME delete through the scripting object and report at start-up that
// it cannot be made; the NT family removes by handles without it (a server
// may have scrrun.dll unregistered).
TEST_F(Scenario, ObjectThatCannotBeCreatedStopsOnlyNineX) {
  ScriptingRuntimeDisabled noScriptingRuntime;
  e2e::RunningProgram program;
  if (IsNtFamily()) {
    const auto [main, done] = RemoveThroughTheMainWindow(program);
    ASSERT_NE(done, nullptr);
    EXPECT_FALSE(AnyFileLeft());
    EXPECT_FALSE(AnyRegistryKeyLeft());
    return;
  }
  const std::optional<e2e::MessageBoxSeen> box = program.WaitForMessageBox();
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->title, "QvnRemove");
  EXPECT_NE(box->text.find("Error 429: ActiveX component can't create object"), std::string::npos) << box->text;
  EXPECT_EQ(program.CountWindows(kMain), 0) << "the main window must not show";
  program.Dismiss(*box);
  ASSERT_TRUE(program.WaitForExit());
  EXPECT_EQ(program.ExitCode(), 1u);
  EXPECT_EQ(program.CountWindows(kMain), 0);
  EXPECT_TRUE(AllFilesPresent());
  EXPECT_TRUE(AllRegistryKeysPresent());
}

// How many files and folders `folder` holds, itself included.
std::size_t EntriesOf(const std::string& folder) {
  std::size_t entries = 1;
  WIN32_FIND_DATAA found{};
  HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return entries;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    entries += (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? EntriesOf(folder + "\\" + name) : 1;
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
  return entries;
}

std::string Grouped(std::size_t number) {
  std::string digits = std::to_string(number);
  for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, ",");
  return digits;
}

std::string WindowText(HWND window) {
  char text[1024] = {};
  ::GetWindowTextA(window, text, sizeof text);
  return text;
}

// Label2's text once it matches `pattern`, within `timeoutMs`; empty if it never did.
std::string WaitForLabelText(HWND label, const std::regex& pattern, DWORD timeoutMs) {
  for (DWORD waited = 0; waited <= timeoutMs; waited += 10) {
    // Another program's window: its text is read without a message to it.
    const std::string text = WindowText(label);
    if (std::regex_match(text, pattern)) return text;
    ::Sleep(10);
  }
  return "";
}

// Whether `text` drawn in `font` as a static control draws it (wrapped at
// words) fits the control's client area of `client`.
bool FitsLabel(const std::string& text, const LOGFONTA& font, SIZE client) {
  HDC screen = ::GetDC(nullptr);
  HFONT made = ::CreateFontIndirectA(&font);
  HGDIOBJ previous = ::SelectObject(screen, made);
  RECT extent{0, 0, client.cx, 0};
  ::DrawTextA(screen, text.c_str(), static_cast<int>(text.size()), &extent,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  ::SelectObject(screen, previous);
  ::DeleteObject(made);
  ::ReleaseDC(nullptr, screen);
  return extent.right <= client.cx && extent.bottom <= client.cy;
}

// A removal of 10,000 files takes seconds. Meanwhile the main window answers
// what is sent to it at once, so that Windows never calls it hung; its
// instruction (Label2) shows how far the removal has come, the check and
// then the removal, in text that fits it; and neither a click nor a close
// given meanwhile is taken. The completion window then opens, and the instruction is back. The
// runner writes the files on the host side, where it takes a moment, and
// names the folder in QVN_BIG_FOLDER; the scenario moves it into the install
// folder.
TEST_F(Scenario, LongRemovalKeepsTheWindowAnsweringAndShowsHowFarItHasCome) {
  constexpr int kLabel2 = 12;
  const char* big = std::getenv("QVN_BIG_FOLDER");
  ASSERT_TRUE(big != nullptr && PathExists(big)) << "run by tests/e2e/run, which writes the files";
  const std::string data = std::string(kInstallFolder) + "\\Data\\Big";
  ASSERT_TRUE(::MoveFileA(big, data.c_str()));
  // The shortcut, the group with its two links, the install folder with its
  // program, Data and the template in a folder of its own: 9 besides.
  const std::size_t entries = 9 + EntriesOf(data);
  ASSERT_GT(entries, 10000u);
  e2e::RunningProgram program;
  HWND main = program.WaitForWindow(kMain);
  ASSERT_NE(main, nullptr);
  HWND label = ::GetDlgItem(main, kLabel2);
  const std::string instruction = WindowText(label);
  ASSERT_NE(instruction.find("Click the button below"), std::string::npos) << instruction;
  // Its font, read while the window waits for the user.
  std::optional<LOGFONTA> font;
  for (const e2e::ControlFont& read : program.ReadFonts(main)) {
    if (read.id == kLabel2 && read.read) font = read.font;
  }
  ASSERT_TRUE(font.has_value()) << "the font probe did not answer";
  const SIZE client = e2e::ClientSize(label);

  e2e::Click(main, kStart);
  const std::string count = "[0-9]{1,3}(,[0-9]{3})*";
  const std::string checking = WaitForLabelText(label, std::regex("Checking files: " + count), 20000);
  ASSERT_FALSE(checking.empty()) << "no progress shown while the files were checked: " << WindowText(label);

  char caption[64] = {};
  DWORD_PTR copied = 0;
  const DWORD sent = ::GetTickCount();
  const LRESULT answered = ::SendMessageTimeoutA(main, WM_GETTEXT, sizeof caption, reinterpret_cast<LPARAM>(caption),
                                                 SMTO_ABORTIFHUNG, 1000, &copied);
  const DWORD waited = ::GetTickCount() - sent;
  EXPECT_NE(answered, 0) << "the main window did not answer within a second";
  EXPECT_STREQ(caption, kMain);
  EXPECT_LT(waited, 1000u);
  // No delete mark is held while the files are checked: the session may end.
  DWORD_PTR mayEnd = FALSE;
  EXPECT_NE(::SendMessageTimeoutA(main, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 1000, &mayEnd), 0);
  EXPECT_EQ(mayEnd, static_cast<DWORD_PTR>(TRUE));
  using IsHung = BOOL(WINAPI*)(HWND);
  if (const auto isHung = reinterpret_cast<IsHung>(
          reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleA("user32.dll"), "IsHungAppWindow")))) {
    EXPECT_FALSE(isHung(main)) << "Windows would show the window as Not Responding";
  }
  // While the removal runs: a click on EXIT; a click sent to it by another
  // program; a close sent to the window, as Task Manager's End Task sends it.
  HWND exitButton = ::FindWindowExA(main, nullptr, "Button", "EXIT");
  ::PostMessageA(exitButton, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ::PostMessageA(exitButton, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  DWORD_PTR ignored = 0;
  EXPECT_NE(::SendMessageTimeoutA(exitButton, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 1000, &ignored), 0);
  EXPECT_NE(::SendMessageTimeoutA(main, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 1000, &ignored), 0);
  const char* dpi = std::getenv("QVN_DPI");
  e2e::SaveScreenshot(main, "C:\\qvn-e2e\\shots\\removal-progress-" + WindowsVersion() + "-" +
                                (dpi != nullptr ? dpi : "96") + "dpi.bmp");

  const std::string removing =
      WaitForLabelText(label, std::regex("Removing files: " + count + " of " + Grouped(entries)), 20000);
  EXPECT_FALSE(removing.empty()) << "no progress of the removal out of " << Grouped(entries) << ": "
                                 << WindowText(label);
  for (const std::string& text : {checking, removing}) {
    EXPECT_TRUE(FitsLabel(text, *font, client)) << text << " does not fit Label2's " << client.cx << " x " << client.cy;
  }
  HWND done = program.WaitForWindow(kDone, 60000);
  ASSERT_NE(done, nullptr);
  EXPECT_EQ(WindowText(label), instruction) << "Label2 shows its own text again";
  EXPECT_FALSE(AnyFileLeft());
  EXPECT_FALSE(AnyRegistryKeyLeft());
  ::Sleep(300);
  EXPECT_TRUE(::IsWindow(main) && ::IsWindowVisible(main)) << "a click or close given meanwhile was taken";
  EXPECT_FALSE(program.WaitForMessageBox(0).has_value());
}

TEST_F(Scenario, TabMovesBetweenTheButtonsAndSpacePressesTheFocusedOne) {
  e2e::RunningProgram program;
  HWND main = program.WaitForWindow(kMain);
  ASSERT_NE(main, nullptr);
  // The focus may settle after the window is first seen (activation comes
  // later on some versions): wait for it, up to 2 s, then it must be on Start.
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  char text[64] = {};
  for (int waited = 0; waited <= 2000 && std::string(text) != kStart; waited += 50) {
    ASSERT_TRUE(::GetGUIThreadInfo(program.ThreadId(), &gui));
    ::GetWindowTextA(gui.hwndFocus, text, sizeof text);
    if (std::string(text) != kStart) ::Sleep(50);
  }
  EXPECT_STREQ(text, kStart);
  ::PostMessageA(gui.hwndFocus, WM_KEYDOWN, VK_TAB, 0);
  ::Sleep(300);
  ASSERT_TRUE(::GetGUIThreadInfo(program.ThreadId(), &gui));
  ::GetWindowTextA(gui.hwndFocus, text, sizeof text);
  EXPECT_STREQ(text, "EXIT");
  ::PostMessageA(gui.hwndFocus, WM_KEYDOWN, VK_SPACE, 0);
  ::PostMessageA(gui.hwndFocus, WM_KEYUP, VK_SPACE, 0xC0000001);
  ASSERT_TRUE(program.WaitForExit());
  EXPECT_TRUE(AllFilesPresent());
}

}  // namespace
