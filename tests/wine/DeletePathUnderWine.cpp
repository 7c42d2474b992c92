#include <gtest/gtest.h>

#include "services/Binder.h"
#include "services/DeletePath.h"
#include "services/Failure.h"
#include "tests/wine/FileFixture.h"

namespace {

const char kRoot[] = "C:\\qvn-delete-path";

class DeletePathUnderWine : public testing::Test {
 protected:
  void SetUp() override { fixture::RemoveTree(kRoot); }
  void TearDown() override { fixture::RemoveTree(kRoot); }

  void Delete(const std::string& path, const wchar_t* kind) {
    qvn::DeletePath(*fileSys_, std::wstring(path.begin(), path.end()), kind);
  }

  std::unique_ptr<qvn::AutomationObject> fileSys_ = qvn::CurrentBinder().CreateObject(L"Scripting.FileSystemObject");
};

TEST_F(DeletePathUnderWine, DeletesAReadOnlyFile) {
  const std::string file = std::string(kRoot) + "\\Quorvane.lnk";
  fixture::MakeFile(file, /*readOnly=*/true);
  Delete(file, L"file");
  EXPECT_FALSE(fixture::PathExists(file));
}

TEST_F(DeletePathUnderWine, DeletesAFolderWholeWithSubfoldersAndReadOnlyFiles) {
  const std::string folder = std::string(kRoot) + "\\Quorvane";
  fixture::MakeFile(folder + "\\Quorvane.exe", true);
  fixture::MakeFile(folder + "\\Data\\Deep\\prefs.dat", true);
  fixture::MakeFolder(folder + "\\Empty");
  Delete(folder, L"folder");
  EXPECT_FALSE(fixture::PathExists(folder));
  EXPECT_TRUE(fixture::PathExists(kRoot));
}

TEST_F(DeletePathUnderWine, MissingTargetsDoNothing) {
  fixture::MakeFolder(std::string(kRoot) + "\\Kept");
  Delete(std::string(kRoot) + "\\Kept", L"file");
  Delete(std::string(kRoot) + "\\Gone.lnk", L"file");
  Delete(std::string(kRoot) + "\\Gone", L"folder");
  EXPECT_TRUE(fixture::PathExists(std::string(kRoot) + "\\Kept"));
}

TEST_F(DeletePathUnderWine, FileKindDiffersByCaseFromFolder) {
  const std::string file = std::string(kRoot) + "\\a.txt";
  fixture::MakeFile(file);
  Delete(file, L"File");  // a folder request: there is no folder of that name
  EXPECT_TRUE(fixture::PathExists(file));
}

TEST_F(DeletePathUnderWine, FileHeldOpenByAnotherProcessRaisesAFailure) {
  const std::string file = std::string(kRoot) + "\\Quorvane\\Quorvane.exe";
  fixture::MakeFile(file);
  fixture::FileHeldByAnotherProcess holder(file);
  try {
    Delete(file, L"file");
    FAIL() << "expected a Failure";
  } catch (const qvn::Failure& failure) {
    EXPECT_NE(failure.Number(), 0);
    EXPECT_FALSE(failure.Description().empty());
    std::printf("raised: %d %ls\n", failure.Number(), failure.Description().c_str());
  }
  EXPECT_TRUE(fixture::PathExists(file));
}

}  // namespace
