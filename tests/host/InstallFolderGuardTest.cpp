#include <gtest/gtest.h>

#include "app/InstallFolderGuard.h"
#include "tests/fakes/SimulatedPlatform.h"

namespace {

struct Case {
  const wchar_t* location;
  const wchar_t* deleted;  // null: counts as absent
};

// The machine of these cases: Windows in C:\WINDOWS, Program Files reported at
// C:\Program Files, the user's profile in C:\Documents and Settings\ann, and
// "C:\Program Files" known by its short form too.
class InstallFolderGuard : public testing::Test {
 protected:
  void SetUp() override {
    platform_.registry.SetString("SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir", "C:\\Program Files");
    platform_.registry.SetString("SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "CommonFilesDir",
                                 "C:\\Program Files\\Common Files");
    platform_.environment["USERPROFILE"] = "C:\\Documents and Settings\\ann";
    platform_.shortNames["C:\\Program Files"] = "C:\\PROGRA~1";
  }
  SimulatedPlatform platform_;
};

TEST_F(InstallFolderGuard, DeletesOnlyAFullLocalPathThatIsNoSystemFolder) {
  const Case cases[] = {
      {L"C:\\Program Files\\Quorvane", L"C:\\Program Files\\Quorvane"},
      {L"c:\\program files\\quorvane", L"c:\\program files\\quorvane"},
      {L"C:\\Apps\\Quorvane 2.0", L"C:\\Apps\\Quorvane 2.0"},
      {L"C:\\Program Files\\Quorvane\\.\\Bin\\..", L"C:\\Program Files\\Quorvane"},
      {L"D:\\Quorvane", L"D:\\Quorvane"},
      {L"C:/Program Files/Quorvane", L"C:\\Program Files\\Quorvane"},
      {L"C:\\PROGRA~1\\QUORVA~1", L"C:\\PROGRA~1\\QUORVA~1"},
      // Not a full local path.
      {L"Quorvane Program location not found...", nullptr},
      {L"", nullptr},
      {L"-", nullptr},
      {L"7", nullptr},
      {L"C:", nullptr},
      {L"C:Quorvane", nullptr},
      {L"\\Quorvane", nullptr},
      {L"\\\\server\\share\\Q", nullptr},
      {L"\\\\?\\C:\\Program Files\\Quorvane", nullptr},
      {L"\\\\.\\C:\\Quorvane", nullptr},
      {L"C:\\Program Files\\Q*", nullptr},
      {L"C:\\Program Files\\Quorvan?", nullptr},
      {L"C:\\Program Files\\Quorvane:stream", nullptr},
      {L"1:\\Quorvane", nullptr},
      // Drive roots and the system's own folders, in any spelling.
      {L"C:\\", nullptr},
      {L"D:\\", nullptr},
      {L"C:\\Windows\\..", nullptr},
      {L"C:\\Program Files\\", nullptr},
      {L"C:\\Program Files\\Quorvane\\..", nullptr},
      {L"c:\\WINDOWS\\", nullptr},
      {L"C:\\WINDOWS\\SYSTEM32", nullptr},
      {L"C:\\Program Files\\Common Files", nullptr},
      {L"C:\\PROGRA~1", nullptr},
      {L"C:\\Documents and Settings", nullptr},
      {L"C:\\Documents and Settings\\ann", nullptr},
      {L"C:\\Documents and Settings\\All Users\\Start Menu", nullptr},
      {L"C:\\Windows\\Start Menu\\Programs\\", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::string(c.location, c.location + std::wcslen(c.location)));
    const std::optional<std::wstring> deleted = qvn::InstallFolderToDelete(c.location);
    if (c.deleted == nullptr) {
      EXPECT_FALSE(deleted.has_value());
    } else {
      ASSERT_TRUE(deleted.has_value());
      EXPECT_EQ(*deleted, c.deleted);
    }
  }
}

TEST_F(InstallFolderGuard, FoldersTheMachineReportsElsewhereAreProtectedToo) {
  platform_.windowsFolder = "E:\\WINNT";
  platform_.registry.SetString("SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir", "D:\\Apps");
  EXPECT_FALSE(qvn::InstallFolderToDelete(L"E:\\WINNT").has_value());
  EXPECT_FALSE(qvn::InstallFolderToDelete(L"D:\\Apps\\").has_value());
  EXPECT_FALSE(qvn::InstallFolderToDelete(L"D:\\").has_value());
  EXPECT_EQ(qvn::InstallFolderToDelete(L"D:\\Apps\\Quorvane"), std::wstring(L"D:\\Apps\\Quorvane"));
}

TEST(InstallFolderProtection, ComparesWholeFoldersOnly) {
  const std::vector<std::wstring> guarded = {L"C:\\Program Files", L"C:\\Windows\\"};
  EXPECT_TRUE(qvn::IsProtectedFolder({L"C:\\Program Files\\"}, guarded));
  EXPECT_TRUE(qvn::IsProtectedFolder({L"c:\\windows"}, guarded));
  EXPECT_TRUE(qvn::IsProtectedFolder({L"C:"}, guarded));
  EXPECT_TRUE(qvn::IsProtectedFolder({L"C:\\Apps\\Q", L"C:\\"}, guarded));  // any form counts
  EXPECT_FALSE(qvn::IsProtectedFolder({L"C:\\Program"}, guarded));           // a prefix, not a folder above
  EXPECT_FALSE(qvn::IsProtectedFolder({L"C:\\Program Files2"}, guarded));
  EXPECT_FALSE(qvn::IsProtectedFolder({L"C:\\Windows\\Temp\\Q"}, guarded));
}

}  // namespace
