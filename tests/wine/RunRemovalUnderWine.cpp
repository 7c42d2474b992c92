#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "app/InitToolState.h"
#include "app/RemoveWhenNotInUse.h"
#include "services/Failure.h"
#include "tests/wine/FileFixture.h"
#include "tests/wine/Installation.h"
#include "tests/wine/RegistryFixture.h"

namespace {

using namespace fixture;

// The removal as the program runs it; what it found in use, in the order it
// asked about it, with Cancel for an answer.
std::vector<std::wstring> Remove(qvn::ToolState& state, const qvn::RemovalPlan& plan) {
  std::vector<std::wstring> asked;
  qvn::RemoveWhenNotInUse(state, plan, [&](const qvn::InUse& inUse) {
    asked.push_back(inUse.path);
    return qvn::InUseAnswer::Cancel;
  });
  return asked;
}

std::vector<std::wstring> Remove(qvn::ToolState& state) { return Remove(state, qvn::PlanRemoval(state)); }

class RunRemovalUnderWine : public testing::Test {
 protected:
  void SetUp() override { LayOutInstallation(); }
  void TearDown() override { RemoveInstallation(); }

  RecordingBinder binder_;
  qvn::ToolState state_;
};

TEST_F(RunRemovalUnderWine, RemovesTheInstallationAndKeepsTheVendorsOtherProduct) {
  qvn::InitToolState(state_);
  EXPECT_TRUE(Remove(state_).empty());

  EXPECT_FALSE(AnyFileLeft());
  EXPECT_FALSE(AnyRegistryKeyLeft());
  EXPECT_TRUE(PathExists("C:\\Program Files"));
  EXPECT_TRUE(KeyExists(kOtherProductKey));
  EXPECT_TRUE(binder_.shown.empty());

  EXPECT_TRUE(Remove(state_).empty());  // a second run finds nothing left and says nothing
  EXPECT_TRUE(binder_.shown.empty());
}

TEST_F(RunRemovalUnderWine, FileInUseIsFoundBeforeAnythingIsRemoved) {
  const std::string held = std::string(kInstallFolder) + "\\Data\\Templates\\default.qvt";
  FileHeldByAnotherProcess holder(held);
  qvn::InitToolState(state_);
  EXPECT_EQ(Remove(state_), std::vector<std::wstring>{std::wstring(held.begin(), held.end())});
  EXPECT_TRUE(AllFilesPresent());
  EXPECT_TRUE(AllRegistryKeysPresent());
}

TEST_F(RunRemovalUnderWine, LocationNamingAProtectedFolderIsLeftAlone) {
  for (const char* stored : {"C:\\", "C:\\Program Files\\", "C:\\windows\\", "C:\\Program Files\\Quorvane\\..\\"}) {
    SCOPED_TRACE(stored);
    SetString(std::string(kSettingsKey) + "\\StartUp", "twEXE", stored);
    MakeFile(std::string(kInstallFolder) + "\\Quorvane.exe");
    qvn::ToolState state;
    qvn::InitToolState(state);
    Remove(state);
    EXPECT_TRUE(PathExists(std::string(kInstallFolder) + "\\Quorvane.exe"));
    EXPECT_TRUE(PathExists("C:\\windows\\system32"));
    CreateKey(std::string(kSettingsKey) + "\\StartUp");
  }
}

TEST_F(RunRemovalUnderWine, LocationInsideTheWindowsFolderStaysWhileTheOtherStepsRun) {
  const std::string inside = "C:\\windows\\Quorvane";
  MakeFile(inside + "\\keep.dll");
  SetString(std::string(kSettingsKey) + "\\StartUp", "twEXE", inside + "\\");
  qvn::InitToolState(state_);
  EXPECT_TRUE(Remove(state_).empty());
  EXPECT_TRUE(PathExists(inside + "\\keep.dll"));
  EXPECT_FALSE(PathExists(RunningFamilysPaths().shortcut));
  EXPECT_FALSE(PathExists(RunningFamilysPaths().group));
  EXPECT_FALSE(AnyRegistryKeyLeft());
  EXPECT_TRUE(binder_.shown.empty());
  RemoveTree(inside);
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Wine reports its own shell folders (C:\users\...), which differ from the
// fixed paths of both families. Asked of the shell, and with the shell
// function withheld, of the registry.
TEST_F(RunRemovalUnderWine, ShortcutAndGroupGoWhereTheSystemReportsThemToo) {
  const ShellPaths reported = ReportedShellPaths();
  ASSERT_FALSE(reported.shortcut.empty()) << "Wine reports its shell folders";
  ASSERT_NE(Lower(reported.shortcut), Lower(RunningFamilysPaths().shortcut));
  const std::string stray = "C:\\qvn-tests\\Desktop\\Quorvane.lnk";  // neither fixed nor reported
  for (const bool shellWithheld : {false, true}) {
    SCOPED_TRACE(shellWithheld ? "from the registry" : "from the shell");
    LayOutInstallation();
    MakeFile(reported.shortcut);
    MakeFile(reported.group + "\\Quorvane.lnk");
    MakeFile(stray);
    RecordingBinder binder;
    if (shellWithheld) binder.withheld.push_back("SHGetSpecialFolderPathA");
    qvn::ToolState state;
    qvn::InitToolState(state);
    EXPECT_EQ(std::count(binder.bound.begin(), binder.bound.end(), "SHGetSpecialFolderPathA"), 0)
        << "start-up does not load the shell; the first removal asks it";
    const qvn::RemovalPlan plan = qvn::PlanRemoval(state);
    EXPECT_EQ(Lower(std::string(state.ReportedDesktopShortcut.begin(), state.ReportedDesktopShortcut.end())),
              Lower(reported.shortcut));
    EXPECT_TRUE(Remove(state, plan).empty());
    EXPECT_FALSE(PathExists(reported.shortcut));
    EXPECT_FALSE(PathExists(reported.group));
    EXPECT_FALSE(AnyFileLeft());
    EXPECT_TRUE(PathExists(stray));
    RemoveTree(stray);
  }
}

}  // namespace
