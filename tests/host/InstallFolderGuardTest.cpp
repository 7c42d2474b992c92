#include <gtest/gtest.h>

#include "app/InstallFolderGuard.h"
#include "app/Place.h"
#include "tests/fakes/SimulatedPlatform.h"

namespace {

const char kCurrentVersion[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const char kShellFolders[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

struct Case {
  const wchar_t* location;
  const wchar_t* deleted;  // null: counts as absent
};

template <std::size_t N>
void ExpectDecisions(const Case (&cases)[N]) {
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::string(c.location, c.location + std::wcslen(c.location)));
    const std::optional<std::wstring> deleted = qvn::DecideInstallFolder(c.location).folder;
    if (c.deleted == nullptr) {
      EXPECT_FALSE(deleted.has_value()) << "would delete it";
    } else {
      ASSERT_TRUE(deleted.has_value());
      EXPECT_EQ(*deleted, c.deleted);
    }
  }
}

// The machine of these cases: Windows in C:\WINDOWS, Program Files reported at
// C:\Program Files, the user's profile in C:\Documents and Settings\ann, and
// "C:\Program Files" known by its short form too.
class InstallFolderGuard : public testing::Test {
 protected:
  void SetUp() override {
    platform_.registry.SetString(kCurrentVersion, "ProgramFilesDir", "C:\\Program Files");
    platform_.registry.SetString(kCurrentVersion, "CommonFilesDir", "C:\\Program Files\\Common Files");
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
      // 64-bit Windows' folder for 32-bit programs, at its usual place, though this machine names none.
      {L"C:\\Program Files (x86)", nullptr},
      {L"C:\\Program Files (x86)\\Common Files\\Tindleway", nullptr},
      {L"C:\\Program Files (x86)\\Quorvane", L"C:\\Program Files (x86)\\Quorvane"},
  };
  ExpectDecisions(cases);
}

TEST_F(InstallFolderGuard, RefusesWhatLiesInsideTheSystemsAndUsersFolders) {
  const Case cases[] = {
      // The Windows folder and everything in it.
      {L"C:\\WINDOWS\\Fonts", nullptr},
      {L"C:\\WINDOWS\\SYSTEM32\\drivers", nullptr},
      {L"C:\\Windows\\Temp\\Quorvane", nullptr},
      // Common Files: shared components of many vendors, the system's among them.
      {L"C:\\Program Files\\Common Files\\System", nullptr},
      {L"C:\\Program Files\\Common Files\\Tindleway", nullptr},
      // Profiles: the root, All Users, Default User and the current user.
      {L"C:\\Documents and Settings\\All Users\\Desktop", nullptr},
      {L"C:\\Documents and Settings\\Default User\\Quorvane", nullptr},
      {L"C:\\Documents and Settings\\ann\\My Documents", nullptr},
      {L"C:\\Documents and Settings\\bob", nullptr},
      // The shell's folders as the registry reports them, for all users and the user.
      {L"E:\\Shared Desktop\\Quorvane", nullptr},
      {L"E:\\Shared Desktop", nullptr},
      {L"E:\\", nullptr},
      {L"D:\\Docs\\Quorvane", nullptr},
      {L"D:\\Docs\\..\\Docs\\Work", nullptr},
      // 95/98/ME places, inside Windows or at the usual My Documents.
      {L"C:\\Windows\\Profiles\\bob\\Desktop", nullptr},
      {L"C:\\Windows\\Start Menu\\Programs\\Quorvane", nullptr},
      {L"C:\\My Documents\\Quorvane", nullptr},
      // Inside Program Files is where applications live; beside the sealed folders is free.
      {L"C:\\Program Files\\Tindleway\\Quorvane", L"C:\\Program Files\\Tindleway\\Quorvane"},
      {L"C:\\PROGRA~1\\Quorvane", L"C:\\PROGRA~1\\Quorvane"},
      {L"C:\\Windows2\\Quorvane", L"C:\\Windows2\\Quorvane"},
      {L"D:\\Docs2", L"D:\\Docs2"},
      {L"E:\\Shared\\Quorvane", L"E:\\Shared\\Quorvane"},
  };
  platform_.registry.SetString(kShellFolders, "Common Desktop", "E:\\Shared Desktop");
  platform_.registry.SetString(std::string("HKCU\\") + kShellFolders, "Personal", "D:\\Docs");
  ExpectDecisions(cases);
}

TEST_F(InstallFolderGuard, FoldersTheMachineReportsElsewhereAreProtectedToo) {
  platform_.windowsFolder = "E:\\WINNT";
  platform_.registry.SetString(kCurrentVersion, "ProgramFilesDir", "D:\\Apps");
  platform_.registry.SetString(kCurrentVersion, "CommonFilesDir", "D:\\Apps\\Shared");
  platform_.environment["USERPROFILE"] = "F:\\Profiles\\ann";
  const Case cases[] = {
      {L"E:\\WINNT", nullptr},
      {L"E:\\WINNT\\Fonts", nullptr},
      {L"D:\\Apps\\", nullptr},
      {L"D:\\", nullptr},
      {L"D:\\Apps\\Shared\\System", nullptr},
      {L"F:\\Profiles\\carl", nullptr},
      {L"D:\\Apps\\Quorvane", L"D:\\Apps\\Quorvane"},
  };
  ExpectDecisions(cases);
}

TEST_F(InstallFolderGuard, UsualNamesHoldOnEveryDrive) {
  platform_.networkDrives.insert('N');
  const Case cases[] = {
      // A second Windows, or its profiles, on another drive.
      {L"D:\\WINDOWS\\", nullptr},
      {L"D:\\WINDOWS\\System32", nullptr},
      {L"d:\\winnt\\Quorvane", nullptr},
      {L"E:\\Documents and Settings\\bob", nullptr},
      {L"E:\\Users\\bob\\Documents", nullptr},
      {L"F:\\ProgramData\\Quorvane", nullptr},
      {L"D:\\Program Files\\", nullptr},
      {L"D:\\Program Files\\Common Files\\Quorvane", nullptr},
      {L"D:\\RECYCLER\\S-1-5-21", nullptr},
      {L"D:\\$Recycle.Bin", nullptr},
      {L"D:\\System Volume Information", nullptr},
      {L"C:\\Users", nullptr},
      // Beside them, and inside Program Files, applications live.
      {L"D:\\Program Files\\Quorvane", L"D:\\Program Files\\Quorvane"},
      {L"D:\\Apps\\Quorvane", L"D:\\Apps\\Quorvane"},
      {L"D:\\WINDOWS2", L"D:\\WINDOWS2"},
      // A network drive is no place for a forced deletion.
      {L"N:\\Apps\\Quorvane", nullptr},
  };
  ExpectDecisions(cases);
}

TEST_F(InstallFolderGuard, ADriveMadeWithSubstIsJudgedByTheFolderItNames) {
  platform_.substitutedDrives['S'] = "C:\\WINDOWS\\SYSTEM32\\drivers";
  platform_.substitutedDrives['T'] = "C:\\Apps";
  const Case cases[] = {
      {L"S:\\etc", nullptr},  // inside the system folder, by its other name
      {L"S:\\", nullptr},
      {L"T:\\Quorvane", L"T:\\Quorvane"},
  };
  ExpectDecisions(cases);
}

// A removable drive is opened and compared by identity like a fixed one: an
// NTFS USB drive may hold a junction to the Windows folder. A CD is never
// opened (it would spin up, and it holds no links).
TEST_F(InstallFolderGuard, AnotherNameForAProtectedFolderIsRefused) {
  platform_.drives = "CEF";
  platform_.removableDrives.insert('E');
  platform_.cdDrives.insert('F');
  platform_.drive.AddDrive(L'E');
  platform_.drive.AddDrive(L'F');
  platform_.drive.AddFolderLink(L"E:\\Win", L"C:\\WINDOWS");
  platform_.drive.AddFolderLink(L"F:\\Win", L"C:\\WINDOWS");
  platform_.drive.AddFolder(L"C:\\WINDOWS\\Fonts");
  platform_.drive.AddFolder(L"C:\\Documents and Settings\\ann");
  platform_.drive.AddFolder(L"C:\\Apps\\Quorvane");
  platform_.drive.AddFolderLink(L"C:\\Links\\Win", L"C:\\WINDOWS");
  platform_.drive.AddFolderLink(L"C:\\Links\\Profiles", L"C:\\Documents and Settings");
  platform_.drive.AddFolderLink(L"C:\\Links\\Top", L"C:\\");
  platform_.drive.AddFolderLink(L"C:\\Links\\Q", L"C:\\Apps\\Quorvane");
  const Case cases[] = {
      {L"C:\\Links\\Win\\Fonts", nullptr},   // inside the Windows folder
      {L"C:\\Links\\Win", nullptr},          // the Windows folder itself
      {L"C:\\Links\\Profiles", nullptr},     // the folder that holds the profiles
      {L"C:\\Links\\Top", nullptr},          // the drive, which holds them all
      {L"C:\\Links\\Q", L"C:\\Apps\\Quorvane"},  // a link to an ordinary folder: that folder
      {L"C:\\Links", L"C:\\Links"},           // holds links only, which go by themselves
      {L"E:\\Win\\Fonts\\", nullptr},           // through a removable drive
      {L"F:\\Win\\Fonts", L"F:\\Win\\Fonts"},  // through a CD, never opened
  };
  ExpectDecisions(cases);
  EXPECT_EQ(platform_.openFiles, 0);
}

// 64-bit Windows as the 32-bit tool sees it: ProgramFilesDir names the 32-bit
// programs' folder; the 64-bit one is in the 64-bit registry view and the
// environment. Each source names another place here, to tell them apart.
TEST_F(InstallFolderGuard, BothProgramFilesOfA64BitWindowsHoldApplicationsOnly) {
  const char kCurrentVersion64[] = "HK64\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
  platform_.registry.views = SimulatedRegistry::Views::Two;
  platform_.registry.SetString(kCurrentVersion, "ProgramFilesDir", "C:\\Program Files (x86)");
  platform_.registry.SetString(kCurrentVersion, "CommonFilesDir", "C:\\Program Files (x86)\\Common Files");
  platform_.registry.SetString(kCurrentVersion64, "ProgramFilesDir", "D:\\Program Files");
  platform_.registry.SetString(kCurrentVersion64, "CommonFilesDir", "F:\\Common64");
  platform_.environment["ProgramW6432"] = "E:\\Programs64";
  platform_.environment["CommonProgramW6432"] = "E:\\Shared64";
  platform_.shortNames["D:\\Program Files"] = "D:\\PROGRA~1";
  const Case cases[] = {
      {L"C:\\Program Files (x86)\\", nullptr},
      {L"C:\\Program Files (x86)\\Quorvane", L"C:\\Program Files (x86)\\Quorvane"},
      {L"D:\\Program Files", nullptr},
      {L"d:\\program files\\", nullptr},
      {L"D:\\PROGRA~1", nullptr},
      {L"F:\\Common64\\Tindleway", nullptr},
      {L"D:\\Program Files\\Quorvane", L"D:\\Program Files\\Quorvane"},
      {L"E:\\Programs64", nullptr},
      {L"E:\\Programs64\\Quorvane", L"E:\\Programs64\\Quorvane"},
      {L"E:\\Shared64\\Quorvane", nullptr},
  };
  ExpectDecisions(cases);
  EXPECT_EQ(platform_.registry.OpenHandles(), 0u);
}

TEST_F(InstallFolderGuard, ASystemThatRefusesTheViewFlagKeepsItsProgramFilesProtected) {
  platform_.registry.views = SimulatedRegistry::Views::FlagRefused;
  platform_.registry.SetString(kCurrentVersion, "ProgramFilesDir", "D:\\Apps");
  const Case cases[] = {
      {L"D:\\Apps", nullptr},
      {L"D:\\Apps\\Quorvane", L"D:\\Apps\\Quorvane"},
      {L"C:\\Program Files\\Common Files\\System", nullptr},
  };
  ExpectDecisions(cases);
  EXPECT_EQ(platform_.registry.OpenHandles(), 0u);
}

TEST_F(InstallFolderGuard, ALimitedUserReadsTheSameFolders) {
  // A limited user on NT cannot open these keys with the tool's own access.
  platform_.registry.SetString(kCurrentVersion, "CommonFilesDir", "D:\\Shared");
  platform_.registry.SetString(kShellFolders, "Common Documents", "D:\\Public");
  platform_.registry.AllowReadOnly(kCurrentVersion);
  platform_.registry.AllowReadOnly(kShellFolders);
  const Case cases[] = {
      {L"D:\\Shared\\Quorvane", nullptr},
      {L"D:\\Public\\Quorvane", nullptr},
  };
  ExpectDecisions(cases);
  EXPECT_EQ(platform_.registry.OpenHandles(), 0u);
}

// One place holds another when one of its names, or its identity, is the
// other's or a folder's above it; folders compare whole.
TEST(Place, HoldsWholeFoldersByAnyNameOrIdentity) {
  SimulatedPlatform platform;
  platform.shortNames["C:\\Program Files"] = "C:\\PROGRA~1";
  platform.drive.AddFolder(L"C:\\Program Files");
  platform.drive.AddFolder(L"C:\\Apps\\Q");
  platform.drive.AddFolderLink(L"C:\\Links\\Apps", L"C:\\Apps");
  struct Row {
    const wchar_t* outer;
    const wchar_t* inner;
    bool holds;
  };
  const Row rows[] = {
      {L"C:\\Program Files\\", L"C:\\Program Files\\Q", true},
      {L"c:\\windows", L"C:\\WINDOWS\\Temp\\Q", true},
      {L"C:", L"C:\\Apps", true},
      {L"C:\\Program", L"C:\\Program Files", false},  // a prefix, not a folder above
      {L"C:\\Program Files", L"C:\\Program Files2", false},
      {L"C:\\Apps\\Q", L"C:\\Apps", false},
      {L"C:\\Program Files", L"C:\\PROGRA~1\\Q", true},         // by its short name
      {L"C:\\Apps", L"C:\\Links\\Apps\\Q\\new.log", true},    // by identity, through a link; not there yet
      {L"C:\\Links\\Apps\\Q", L"C:\\Apps\\Q", true},
      {L"C:\\Apps\\Q\\..\\Q", L"C:\\Apps\\Q\\x", true},        // resolved
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << std::string(row.outer, row.outer + std::wcslen(row.outer)) << " / "
                                    << std::string(row.inner, row.inner + std::wcslen(row.inner)));
    qvn::PlaceReader reader;
    EXPECT_EQ(reader.Read(row.outer).Holds(reader.Read(row.inner)), row.holds);
  }
  EXPECT_EQ(platform.openFiles, 0);
}

}  // namespace
