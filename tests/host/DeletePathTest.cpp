#include <gtest/gtest.h>

#include "services/DeletePath.h"
#include "services/Failure.h"
#include "tests/fakes/SimulatedPlatform.h"

namespace {

class DeletePathTest : public testing::Test {
 protected:
  SimulatedPlatform platform_;
  std::unique_ptr<qvn::AutomationObject> fileSys_ = platform_.CreateObject(L"Scripting.FileSystemObject");
};

TEST_F(DeletePathTest, FileKindIsExactlyFileAnythingElseIsAFolder) {
  struct Case {
    const wchar_t* kind;
    const wchar_t* askedFirst;
  };
  for (const Case& c : {Case{L"file", L"FileExists C:\\Q\\a"}, Case{L"File", L"FolderExists C:\\Q\\a"},
                        Case{L"folder", L"FolderExists C:\\Q\\a"}, Case{L"file ", L"FolderExists C:\\Q\\a"},
                        Case{L"", L"FolderExists C:\\Q\\a"}}) {
    platform_.calls.clear();
    qvn::DeletePath(*fileSys_, L"C:\\Q\\a", c.kind);
    EXPECT_EQ(platform_.calls, std::vector<std::wstring>{c.askedFirst});
  }
}

TEST_F(DeletePathTest, MissingTargetDoesNothing) {
  platform_.drive.AddFolder(L"C:\\Q");
  qvn::DeletePath(*fileSys_, L"C:\\Q", L"file");  // a folder is no file
  qvn::DeletePath(*fileSys_, L"C:\\Gone", L"folder");
  EXPECT_TRUE(platform_.drive.Exists(L"C:\\Q"));
  EXPECT_TRUE(platform_.messageBoxes.empty());
}

TEST_F(DeletePathTest, ReadOnlyFileIsDeletedWithForce) {
  platform_.drive.AddFile(L"C:\\Q\\locked.lnk", /*readOnly=*/true);
  qvn::DeletePath(*fileSys_, L"C:\\Q\\locked.lnk", L"file");
  EXPECT_FALSE(platform_.drive.Exists(L"C:\\Q\\locked.lnk"));
  EXPECT_EQ(platform_.calls.back(), L"DeleteFile C:\\Q\\locked.lnk force");
}

TEST_F(DeletePathTest, FolderGoesWholeWithSubfoldersAndReadOnlyFiles) {
  platform_.drive.AddFile(L"C:\\Q\\bin\\q.exe", true);
  platform_.drive.AddFile(L"C:\\Q\\data\\deep\\set.dat");
  platform_.drive.AddFolder(L"C:\\Q\\empty");
  qvn::DeletePath(*fileSys_, L"c:\\q", L"folder");
  EXPECT_FALSE(platform_.drive.Exists(L"C:\\Q"));
}

TEST_F(DeletePathTest, FileInUseRaisesAndKeepsWhatItCouldNotDelete) {
  platform_.drive.AddFile(L"C:\\Q\\a.dll");
  platform_.drive.AddFile(L"C:\\Q\\b.dll");
  platform_.drive.Lock(L"C:\\Q\\b.dll");
  try {
    qvn::DeletePath(*fileSys_, L"C:\\Q", L"folder");
    FAIL() << "expected a Failure";
  } catch (const qvn::Failure& failure) {
    EXPECT_EQ(failure.Number(), 70);
    EXPECT_EQ(failure.Description(), L"Permission denied");
  }
  EXPECT_FALSE(platform_.drive.Exists(L"C:\\Q\\a.dll"));
  EXPECT_TRUE(platform_.drive.Exists(L"C:\\Q\\b.dll"));
}

}  // namespace
