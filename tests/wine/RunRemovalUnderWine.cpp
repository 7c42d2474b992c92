#include <gtest/gtest.h>

#include "app/InitToolState.h"
#include "app/RunRemoval.h"
#include "services/Failure.h"
#include "tests/wine/FileFixture.h"
#include "tests/wine/Installation.h"
#include "tests/wine/RegistryFixture.h"

namespace {

using namespace fixture;

class RunRemovalUnderWine : public testing::Test {
 protected:
  void SetUp() override { LayOutInstallation(); }
  void TearDown() override { RemoveInstallation(); }

  RecordingBinder binder_;
  qvn::ToolState state_;
};

TEST_F(RunRemovalUnderWine, RemovesTheInstallationAndKeepsTheVendorsOtherProduct) {
  qvn::InitToolState(state_);
  qvn::RunRemoval(state_);

  EXPECT_FALSE(AnyFileLeft());
  EXPECT_FALSE(AnyRegistryKeyLeft());
  EXPECT_TRUE(PathExists("C:\\Program Files"));
  EXPECT_TRUE(KeyExists(kOtherProductKey));
  EXPECT_TRUE(binder_.shown.empty());

  qvn::RunRemoval(state_);  // a second run finds nothing left and says nothing
  EXPECT_TRUE(binder_.shown.empty());
}

TEST_F(RunRemovalUnderWine, FileInUseStopsTheRunBeforeTheRegistry) {
  const std::string held = std::string(kInstallFolder) + "\\Data\\Templates\\default.qvt";
  FileHeldByAnotherProcess holder(held);
  qvn::InitToolState(state_);
  try {
    qvn::RunRemoval(state_);
    FAIL() << "expected a Failure";
  } catch (const qvn::Failure& failure) {
    EXPECT_NE(failure.Number(), 0);
    EXPECT_FALSE(failure.Description().empty());
    EXPECT_EQ(failure.Item(), L"C:\\Program Files\\Quorvane");
  }
  EXPECT_TRUE(PathExists(held));
  EXPECT_TRUE(AllRegistryKeysPresent());
}

TEST_F(RunRemovalUnderWine, LocationNamingAProtectedFolderIsLeftAlone) {
  for (const char* stored : {"C:\\", "C:\\Program Files\\", "C:\\windows\\", "C:\\Program Files\\Quorvane\\..\\"}) {
    SCOPED_TRACE(stored);
    SetString(std::string(kSettingsKey) + "\\StartUp", "twEXE", stored);
    MakeFile(std::string(kInstallFolder) + "\\Quorvane.exe");
    qvn::ToolState state;
    qvn::InitToolState(state);
    qvn::RunRemoval(state);
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
  qvn::RunRemoval(state_);
  EXPECT_TRUE(PathExists(inside + "\\keep.dll"));
  EXPECT_FALSE(PathExists(RunningFamilysPaths().shortcut));
  EXPECT_FALSE(PathExists(RunningFamilysPaths().group));
  EXPECT_FALSE(AnyRegistryKeyLeft());
  EXPECT_TRUE(binder_.shown.empty());
  RemoveTree(inside);
}

}  // namespace
