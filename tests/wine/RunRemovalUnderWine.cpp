#include <gtest/gtest.h>

#include "app/InitToolState.h"
#include "app/RunRemoval.h"
#include "services/Failure.h"
#include "tests/wine/FileFixture.h"
#include "tests/wine/RegistryFixture.h"

namespace {

const char kVendor[] = "SOFTWARE\\TindlewaySystems";
const char kSettings[] = "SOFTWARE\\TindlewaySystems\\Quorvane";
const char kUninstall[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorvane";
const char kInstall[] = "C:\\Program Files\\Quorvane";
const char* const kNamedSubkeys[] = {"StartUp", "printOptions", "columnNames", "1.2"};

struct ShellPaths {
  std::string shortcut;
  std::string group;
};

ShellPaths RunningFamilysPaths() {
  if (fixture::IsNtFamily()) {
    return {"C:\\Documents and Settings\\All Users\\Desktop\\Quorvane.lnk",
            "C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Quorvane"};
  }
  return {"C:\\Windows\\Desktop\\Quorvane.lnk", "C:\\Windows\\Start Menu\\Programs\\Quorvane"};
}

// Quorvane as its installer leaves it, beside another product of its vendor.
class RunRemovalUnderWine : public testing::Test {
 protected:
  void SetUp() override {
    CleanUp();
    fixture::MakeFile(paths_.shortcut);
    fixture::MakeFile(paths_.group + "\\Quorvane.lnk");
    fixture::MakeFile(paths_.group + "\\Read Me.lnk", true);
    fixture::MakeFile(std::string(kInstall) + "\\Quorvane.exe", true);
    fixture::MakeFile(std::string(kInstall) + "\\Data\\Templates\\default.qvt");
    fixture::CreateKey(kUninstall);
    for (const char* subkey : kNamedSubkeys) fixture::CreateKey(std::string(kSettings) + "\\" + subkey);
    fixture::SetString(std::string(kSettings) + "\\StartUp", "twEXE", std::string(kInstall) + "\\");
    fixture::CreateKey(std::string(kVendor) + "\\OtherProduct");
  }
  void TearDown() override { CleanUp(); }

  void CleanUp() {
    fixture::RemoveTree(paths_.shortcut);
    fixture::RemoveTree(paths_.group);
    fixture::RemoveTree(kInstall);
    fixture::DeleteTree(kVendor);
    fixture::DeleteTree(kUninstall);
  }

  void ExpectRegistryUntouched() {
    EXPECT_TRUE(fixture::KeyExists(kUninstall));
    for (const char* subkey : kNamedSubkeys) EXPECT_TRUE(fixture::KeyExists(std::string(kSettings) + "\\" + subkey));
  }

  ShellPaths paths_ = RunningFamilysPaths();
  fixture::RecordingBinder binder_;
  qvn::ToolState state_;
};

TEST_F(RunRemovalUnderWine, RemovesTheInstallationAndKeepsTheVendorsOtherProduct) {
  qvn::InitToolState(state_);
  qvn::RunRemoval(state_);

  EXPECT_FALSE(fixture::PathExists(paths_.shortcut));
  EXPECT_FALSE(fixture::PathExists(paths_.group));
  EXPECT_FALSE(fixture::PathExists(kInstall));
  EXPECT_TRUE(fixture::PathExists("C:\\Program Files"));
  EXPECT_FALSE(fixture::KeyExists(kUninstall));
  EXPECT_FALSE(fixture::KeyExists(kSettings));
  EXPECT_TRUE(fixture::KeyExists(std::string(kVendor) + "\\OtherProduct"));
  EXPECT_TRUE(binder_.shown.empty());

  qvn::RunRemoval(state_);  // a second run finds nothing left and says nothing
  EXPECT_TRUE(binder_.shown.empty());
}

TEST_F(RunRemovalUnderWine, FileInUseStopsTheRunBeforeTheRegistry) {
  const std::string held = std::string(kInstall) + "\\Data\\Templates\\default.qvt";
  fixture::FileHeldByAnotherProcess holder(held);
  qvn::InitToolState(state_);
  try {
    qvn::RunRemoval(state_);
    FAIL() << "expected a Failure";
  } catch (const qvn::Failure& failure) {
    EXPECT_NE(failure.Number(), 0);
    EXPECT_FALSE(failure.Description().empty());
    EXPECT_EQ(failure.Item(), L"C:\\Program Files\\Quorvane");
  }
  EXPECT_TRUE(fixture::PathExists(held));
  ExpectRegistryUntouched();
}

TEST_F(RunRemovalUnderWine, LocationNamingAProtectedFolderIsLeftAlone) {
  for (const char* stored : {"C:\\", "C:\\Program Files\\", "C:\\windows\\", "C:\\Program Files\\Quorvane\\..\\"}) {
    SCOPED_TRACE(stored);
    fixture::SetString(std::string(kSettings) + "\\StartUp", "twEXE", stored);
    fixture::MakeFile("C:\\Program Files\\Quorvane\\Quorvane.exe");
    qvn::ToolState state;
    qvn::InitToolState(state);
    qvn::RunRemoval(state);
    EXPECT_TRUE(fixture::PathExists("C:\\Program Files\\Quorvane\\Quorvane.exe"));
    EXPECT_TRUE(fixture::PathExists("C:\\windows\\system32"));
    fixture::CreateKey(std::string(kSettings) + "\\StartUp");
  }
}

}  // namespace
