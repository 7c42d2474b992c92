#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <functional>

#include "app/InitToolState.h"
#include "app/InterruptedRuns.h"
#include "app/RemovalLog.h"
#include "app/InstallFolderLink.h"
#include "app/RemovalPlan.h"
#include "app/RemoveWhenNotInUse.h"
#include "services/AsideFolder.h"
#include "services/DeleteAtRestart.h"
#include "services/Failure.h"
#include "services/ReparseData.h"
#include "services/Wininit.h"
#include "tests/fakes/SimulatedInstallation.h"
#include "tests/fakes/SimulatedPlatform.h"

namespace {

using namespace installed;

const char kShellFolders[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const wchar_t k9xFixedShortcut[] = L"C:\\Windows\\Desktop\\Quorvane.lnk";
const wchar_t k9xFixedGroup[] = L"C:\\Windows\\Start Menu\\Programs\\Quorvane";
const std::wstring k9xFixedGroupFile = std::wstring(k9xFixedGroup) + L"\\Quorvane.lnk";

// Windows 98 with the installation where it puts the shortcut and the group.
void RunAsNineX(SimulatedPlatform& platform) {
  platform.RunAs(1, 4, 10);
  platform.drive.AddFile(k9xFixedShortcut);
  platform.drive.AddFile(k9xFixedGroupFile);
}


std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

// The removal as the program runs it: planned, walked for links and files in
// use (none is in use in these cases), then run.
bool Remove(qvn::ToolState& state) {
  return qvn::RemoveWhenNotInUse(state, qvn::PlanRemoval(state), [](const qvn::InUse& inUse) {
    ADD_FAILURE() << "unexpectedly in use: " << Narrow(inUse.path);
    return qvn::InUseAnswer::Cancel;
  });
}

class RunRemovalTest : public testing::Test {
 protected:
  void SetUp() override { LayOut(platform_); }

  void StartUp() {
    state_ = qvn::ToolState{};
    qvn::InitToolState(state_);
    platform_.calls.clear();
  }

  SimulatedPlatform platform_;
  qvn::ToolState state_;
};

// The removal's deletions, in order. The NT family's files go first, every
// step's at once, so that no mark is held while a folder is waited for; then
// each step's folders, deepest first; then the keys. 95/98/ME delete through
// the scripting object, step by step.
TEST(RunRemoval, RunsTheStepsInThePlansOrder) {
  const std::vector<std::wstring> keys = {
      L"RegDeleteKeyA SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorvane | ",
      L"RegDeleteKeyA SOFTWARE\\TindlewaySystems\\Quorvane | StartUp",
      L"RegDeleteKeyA SOFTWARE\\TindlewaySystems\\Quorvane | printOptions",
      L"RegDeleteKeyA SOFTWARE\\TindlewaySystems\\Quorvane | columnNames",
      L"RegDeleteKeyA SOFTWARE\\TindlewaySystems\\Quorvane | 1.2",
      L"RegDeleteKeyA SOFTWARE\\TindlewaySystems\\Quorvane | ",
  };
  struct Case {
    const char* what;
    bool ntFamily;
    std::vector<std::wstring> files;
  };
  const Case cases[] = {
      {"NT family: by handles", true,
       {L"deleted " + std::wstring(kShortcut), L"deleted " + kGroupFile, L"deleted " + kProgram, L"deleted " + kPrefs,
        L"deleted " + std::wstring(kGroup), L"deleted " + kData, L"deleted " + std::wstring(kInstall)}},
      {"95/98/ME: through the scripting object", false,
       {std::wstring(L"FileExists ") + k9xFixedShortcut, std::wstring(L"DeleteFile ") + k9xFixedShortcut + L" force",
        std::wstring(L"FolderExists ") + k9xFixedGroup, std::wstring(L"DeleteFolder ") + k9xFixedGroup + L" force",
        std::wstring(L"FolderExists ") + kInstall, std::wstring(L"DeleteFolder ") + kInstall + L" force"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SimulatedPlatform platform;
    LayOut(platform);
    if (!c.ntFamily) RunAsNineX(platform);
    qvn::ToolState state;
    qvn::InitToolState(state);
    platform.calls.clear();
    Remove(state);
    std::vector<std::wstring> expected = c.files;
    for (const std::wstring& key : keys) expected.push_back(key);
    EXPECT_EQ(platform.calls, expected);
  }
}

TEST_F(RunRemovalTest, RemovesEverythingButTheVendorKeyAndWhatItDoesNotName) {
  StartUp();
  Remove(state_);
  EXPECT_FALSE(platform_.drive.Exists(kShortcut));
  EXPECT_FALSE(platform_.drive.Exists(kGroup));
  EXPECT_FALSE(platform_.drive.Exists(kInstall));
  EXPECT_TRUE(platform_.drive.Exists(L"C:\\Program Files"));
  EXPECT_FALSE(platform_.registry.KeyExists(kUninstall));
  EXPECT_FALSE(platform_.registry.KeyExists(kSettings));
  EXPECT_TRUE(platform_.registry.KeyExists(kVendor + "\\OtherProduct"));
  EXPECT_TRUE(platform_.messageBoxes.empty());
  EXPECT_EQ(platform_.registry.OpenHandles(), 0u);
}

TEST_F(RunRemovalTest, SettingsKeyWithAFifthSubkeyFollowsTheRegistrysRule) {
  platform_.registry.CreateKey(kSettings + "\\recentFiles");
  StartUp();
  Remove(state_);
  EXPECT_TRUE(platform_.registry.KeyExists(kSettings + "\\recentFiles"));  // NT keeps a key with subkeys
  EXPECT_FALSE(platform_.registry.KeyExists(kSettings + "\\StartUp"));
}

TEST_F(RunRemovalTest, SecondRunFindsNothingAndDoesNothing) {
  StartUp();
  Remove(state_);
  platform_.calls.clear();
  Remove(state_);
  for (const std::wstring& call : platform_.calls) {
    EXPECT_EQ(call.rfind(L"RegDeleteKeyA", 0), 0u) << "only six harmless key deletions: " << Narrow(call);
  }
  EXPECT_EQ(platform_.calls.size(), 6u);
  EXPECT_TRUE(platform_.messageBoxes.empty());
  EXPECT_TRUE(platform_.registry.KeyExists(kVendor));
}

// 95/98/ME: the scripting object stops at the first entry it cannot delete,
// past the check; the NT family claims and marks everything first (see
// RemovalByHandlesTest).
TEST(RunRemovalFailure, FileSystemFailureStopsTheRunAtItsStep) {
  const std::wstring items[] = {k9xFixedShortcut, k9xFixedGroup, kInstall};
  for (int step = 0; step < 3; ++step) {
    SCOPED_TRACE(step + 1);
    SimulatedPlatform platform;
    LayOut(platform);
    RunAsNineX(platform);
    platform.drive.Lock(items[step]);
    qvn::ToolState state;
    qvn::InitToolState(state);
    try {
      Remove(state);
      FAIL() << "expected a Failure";
    } catch (const qvn::Failure& failure) {
      EXPECT_EQ(failure.Number(), 70);
      EXPECT_EQ(failure.Item(), items[step]);
    }
    for (const std::wstring& call : platform.calls) EXPECT_EQ(call.find(L"RegDeleteKeyA"), std::wstring::npos);
    for (int later = step; later < 3; ++later) EXPECT_TRUE(platform.drive.Exists(items[later]));
    EXPECT_TRUE(platform.registry.KeyExists(kSettings + "\\StartUp"));
    EXPECT_TRUE(platform.registry.KeyExists(kUninstall));
  }
}

TEST_F(RunRemovalTest, RegistryFailuresAreReportedAndTheRunGoesOn) {
  StartUp();
  platform_.WithholdEntryPoint("RegDeleteKeyA");
  EXPECT_NO_THROW(Remove(state_));
  EXPECT_EQ(platform_.messageBoxes.size(), 6u);
  EXPECT_FALSE(platform_.drive.Exists(kInstall));
  EXPECT_EQ(platform_.messageBoxes[0].text,
            L"Error in Registry Key delete.  Key SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorvane");
}

TEST_F(RunRemovalTest, InstallFolderThatIsNoSafeTargetCountsAsAbsent) {
  for (const char* stored : {"C:\\", "C:\\Program Files\\", "C:\\Program Files\\Quorvane\\..\\", "\\"}) {
    SCOPED_TRACE(stored);
    platform_.registry.SetString(kSettings + "\\StartUp", "twEXE", stored);
    platform_.drive.AddFile(L"C:\\Program Files\\Other\\keep.txt");
    StartUp();
    Remove(state_);
    EXPECT_TRUE(platform_.drive.Exists(L"C:\\Program Files\\Other\\keep.txt"));
    EXPECT_TRUE(platform_.drive.Exists(L"C:\\Program Files\\Quorvane\\Quorvane.exe"));
    EXPECT_TRUE(platform_.messageBoxes.empty());
    platform_.registry.CreateKey(kSettings + "\\StartUp");
  }
}

// The NT family removes by handles and needs no scripting object (a server
// may have it unregistered); 95/98/ME need it.
TEST(RunRemoval, OnlyNineXNeedsTheFileSystemObject) {
  for (const bool ntFamily : {true, false}) {
    SCOPED_TRACE(ntFamily ? "NT family" : "95/98/ME");
    SimulatedPlatform platform;
    LayOut(platform);
    if (!ntFamily) RunAsNineX(platform);
    qvn::ToolState state;
    qvn::InitToolState(state);
    state.FileSys.reset();
    platform.calls.clear();
    if (ntFamily) {
      EXPECT_TRUE(Remove(state));
      EXPECT_FALSE(platform.drive.Exists(kInstall));
      EXPECT_FALSE(platform.registry.KeyExists(kSettings));
    } else {
      EXPECT_THROW(Remove(state), qvn::Failure);
      EXPECT_TRUE(platform.calls.empty());
    }
  }
}

// Where the shell reports its folders on some machines: another language on C:.
const wchar_t kGermanDesktop[] = L"C:\\Dokumente und Einstellungen\\All Users\\Desktop";
const wchar_t kGermanPrograms[] = L"C:\\Dokumente und Einstellungen\\All Users\\Startmenue\\Programme";
const wchar_t kUserDesktop[] = L"C:\\Windows\\Profiles\\ann\\Desktop";
const wchar_t kUserPrograms[] = L"C:\\Windows\\Profiles\\ann\\Start Menu\\Programs";

TEST(RunRemovalShellFolders, ShortcutAndGroupGoWhereTheSystemReportsThemToo) {
  struct Case {
    const char* what;
    bool ntFamily;
    void (*arrange)(SimulatedPlatform&);
    std::vector<std::wstring> present;  // laid out before the run
    std::vector<std::wstring> removed;  // of those, what the run deletes; the rest stays
    std::size_t steps;                  // of the removal plan
  };
  const std::wstring germanShortcut = std::wstring(kGermanDesktop) + L"\\Quorvane.lnk";
  const std::wstring germanGroup = std::wstring(kGermanPrograms) + L"\\Quorvane\\Quorvane.lnk";
  const std::wstring userShortcut = std::wstring(kUserDesktop) + L"\\Quorvane.lnk";
  const std::wstring userGroup = std::wstring(kUserPrograms) + L"\\Quorvane\\Quorvane.lnk";
  const auto reportGerman = [](SimulatedPlatform& p) {
    p.specialFolders[0x19] = Narrow(kGermanDesktop);
    p.specialFolders[0x17] = Narrow(kGermanPrograms);
  };
  const Case cases[] = {
      {"both places", true, reportGerman, {kShortcut, germanShortcut, germanGroup}, {kShortcut, germanShortcut, germanGroup}, 11},
      {"only the reported place", true, reportGerman, {germanShortcut, germanGroup}, {germanShortcut, germanGroup}, 11},
      {"reported equals fixed, in another case", true,
       [](SimulatedPlatform& p) {
         p.specialFolders[0x19] = "c:\\documents and settings\\all users\\DESKTOP\\";
         p.specialFolders[0x17] = "C:\\Documents and Settings\\All Users\\Start Menu\\Programs";
       },
       {kShortcut}, {kShortcut}, 9},
      {"no shell function: the registry answers", true,
       [](SimulatedPlatform& p) {
         p.WithholdLibrary("shell32.dll");
         p.registry.SetString(kShellFolders, "Common Desktop", Narrow(kGermanDesktop));
         p.registry.SetString(kShellFolders, "Common Programs", Narrow(kGermanPrograms));
       },
       {germanShortcut, germanGroup}, {germanShortcut, germanGroup}, 11},
      {"a relative report is not used", true,
       [](SimulatedPlatform& p) { p.specialFolders[0x19] = "Desktop"; },
       {L"C:\\Work\\Desktop\\Quorvane.lnk"}, {}, 9},
      {"neither source answers", true, [](SimulatedPlatform&) {}, {germanShortcut}, {}, 9},
      {"95/98/ME: the user's folders, not the common ones", false,
       [](SimulatedPlatform& p) {
         p.specialFolders[0x10] = Narrow(kUserDesktop);
         p.specialFolders[0x02] = Narrow(kUserPrograms);
         p.specialFolders[0x19] = Narrow(kGermanDesktop);
       },
       {k9xFixedShortcut, k9xFixedGroupFile, userShortcut, userGroup, germanShortcut},
       {k9xFixedShortcut, k9xFixedGroupFile, userShortcut, userGroup}, 11},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SimulatedPlatform platform;
    if (!c.ntFamily) platform.RunAs(1, 4, 10);
    c.arrange(platform);
    for (const std::wstring& path : c.present) platform.drive.AddFile(path);
    qvn::ToolState state;
    qvn::InitToolState(state);
    EXPECT_EQ(qvn::PlanRemoval(state).steps.size(), c.steps);
    Remove(state);
    for (const std::wstring& path : c.present) {
      const bool removed = std::find(c.removed.begin(), c.removed.end(), path) != c.removed.end();
      EXPECT_EQ(platform.drive.Exists(path), !removed) << Narrow(path);
    }
    EXPECT_TRUE(platform.messageBoxes.empty());
  }
}

TEST(RemoveWhenNotInUse, AnythingHeldElsewhereStopsEverythingUntilItIsReleased) {
  const std::wstring groupFile = std::wstring(kGroup) + L"\\Quorvane.lnk";
  const std::wstring installFile = std::wstring(kInstall) + L"\\Data\\prefs.dat";
  const std::wstring program = std::wstring(kInstall) + L"\\Quorvane.exe";  // read-only
  const std::wstring dataFolder = std::wstring(kInstall) + L"\\Data";
  struct Case {
    const char* what;
    std::wstring held;
    void (*hold)(SimulatedDrive&, const std::wstring&);
  };
  const auto open = [](SimulatedDrive& d, const std::wstring& p) { d.HoldOpen(p); };
  const Case cases[] = {
      {"the shortcut held open", kShortcut, open},
      {"a file of the group held open", groupFile, open},
      {"a file of the install folder held open", installFile, open},
      {"a read-only file held open", program, open},
      {"a program running from the install folder", installFile,
       [](SimulatedDrive& d, const std::wstring& p) { d.MapImage(p); }},
      {"a process's current folder inside the install folder", dataFolder,
       [](SimulatedDrive& d, const std::wstring& p) { d.MakeCurrentFolder(p); }},
      {"a process's current folder: the program group", kGroup,
       [](SimulatedDrive& d, const std::wstring& p) { d.MakeCurrentFolder(p); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (const qvn::InUseAnswer answer : {qvn::InUseAnswer::Cancel, qvn::InUseAnswer::Retry}) {
      SimulatedPlatform platform;
      LayOut(platform);
      c.hold(platform.drive, c.held);
      qvn::ToolState state;
      qvn::InitToolState(state);
      std::vector<std::wstring> asked;
      const bool ran = qvn::RemoveWhenNotInUse(state, qvn::PlanRemoval(state), [&](const qvn::InUse& found) {
        asked.push_back(found.path);
        EXPECT_FALSE(AnythingRemoved(platform.calls)) << "removed before the user answered";
        if (answer == qvn::InUseAnswer::Retry) {  // the user closed Quorvane
          platform.drive.Release(c.held);
          platform.drive.EndPrograms();
        }
        return answer;
      });
      EXPECT_EQ(asked, std::vector<std::wstring>{c.held});
      EXPECT_EQ(platform.openFiles, 0) << "every file, folder and search the check opened is closed";
      if (answer == qvn::InUseAnswer::Cancel) {
        EXPECT_FALSE(ran);
        EXPECT_FALSE(AnythingRemoved(platform.calls));
        EXPECT_TRUE(platform.drive.Exists(kShortcut) && platform.drive.Exists(installFile));
        EXPECT_TRUE(platform.registry.KeyExists(kSettings + "\\StartUp"));
      } else {
        EXPECT_TRUE(ran);
        EXPECT_FALSE(platform.drive.Exists(kShortcut) || platform.drive.Exists(kGroup) ||
                     platform.drive.Exists(kInstall));
        EXPECT_FALSE(platform.registry.KeyExists(kSettings));
      }
    }
  }
}

TEST(RemoveWhenNotInUse, OnlyFilesInUseBlockAndOnlyWhatWouldBeDeletedIsLookedAt) {
  struct Case {
    const char* what;
    const char* location;  // stored as the install folder
    void (*arrange)(SimulatedDrive&);
    bool removes;          // the install folder
  };
  const Case cases[] = {
      {"a held file in a folder the guard refuses", "C:\\WINDOWS\\Quorvane\\",
       [](SimulatedDrive& d) {
         d.AddFile(L"C:\\WINDOWS\\Quorvane\\busy.dll");
         d.HoldOpen(L"C:\\WINDOWS\\Quorvane\\busy.dll");
       },
       false},
      {"a held file beside the install folder", "C:\\Program Files\\Quorvane\\",
       [](SimulatedDrive& d) {
         d.AddFile(L"C:\\Program Files\\Other\\busy.dll");
         d.HoldOpen(L"C:\\Program Files\\Other\\busy.dll");
       },
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SimulatedPlatform platform;
    LayOut(platform);
    platform.registry.SetString(kSettings + "\\StartUp", "twEXE", c.location);
    c.arrange(platform.drive);
    qvn::ToolState state;
    qvn::InitToolState(state);
    int asked = 0;
    EXPECT_TRUE(qvn::RemoveWhenNotInUse(state, qvn::PlanRemoval(state), [&](const qvn::InUse&) {
      ++asked;
      return qvn::InUseAnswer::Cancel;
    }));
    EXPECT_EQ(asked, 0);
    EXPECT_FALSE(platform.drive.Exists(kShortcut));
    EXPECT_EQ(platform.drive.Exists(kInstall), !c.removes);
    EXPECT_EQ(platform.openFiles, 0);
  }
}

// What the walk cannot get past stops the removal before anything of the
// installation is removed, and the Failure names it: a folder link the
// system does not show as one (as Wine shows a host symbolic link), which
// can be neither entered nor removed by itself (the links it shows go with
// the rest, each by itself, never followed), or a folder whose entries
// cannot be read, which could hold a link or a file in use and is never
// taken for an empty one. Each family walks with its own forms of the file
// functions: 95/98/ME never bind the wide ones, nor ntdll.
TEST(RemoveWhenNotInUse, WhatTheWalkCannotGetPastStopsBeforeAnythingIsRemoved) {
  const std::wstring documents = L"C:\\Documents and Settings\\ann\\My Documents";
  const std::wstring letter = documents + L"\\letter.doc";
  const std::wstring first = std::wstring(kInstall) + L"\\Data\\My Documents";
  const std::wstring second = std::wstring(kInstall) + L"\\Help\\Shared";
  const wchar_t kNothingRemoved[] = L"nothing of Quorvane has been removed";
  struct Case {
    const char* what;
    bool ntFamily;
    const std::wstring* pinned;  // the link the system will not remove by itself
    const char* failing;         // the call that fails, its number and error
    int callNumber;
    LONG error;
    const wchar_t* stop;  // what the Failure names; null: the removal runs to its end
    const wchar_t* why;   // what its description says
  };
  const Case cases[] = {
      {"links the system removes by themselves", true, nullptr, nullptr, 0, 0, nullptr, nullptr},
      {"a first link it will not", true, &first, nullptr, 0, 0, first.c_str(), kNothingRemoved},
      {"a second link it will not: the first stays too", true, &second, nullptr, 0, 0, second.c_str(),
       kNothingRemoved},
      {"NT: the listing refused", true, nullptr, "NtQueryDirectoryFile", 3, static_cast<LONG>(0xC0000022), kInstall,
       L"cannot be listed"},
      {"NT: the listing ends early", true, nullptr, "NtQueryDirectoryFile", 2,
       static_cast<LONG>(0xC000009A) /* insufficient resources */, kGroup, L"cannot be listed"},
      {"95/98/ME: the search refused", false, nullptr, "FindFirstFileA", 1, ERROR_PATH_NOT_FOUND, kInstall,
       L"cannot be listed"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SimulatedPlatform platform;
    if (!c.ntFamily) {
      platform.RunAs(1, 4, 10);
      for (const char* wide : {"CreateFileW", "FindFirstFileW", "FindNextFileW", "GetFileAttributesW",
                               "RemoveDirectoryW"}) {
        platform.WithholdEntryPoint(wide);
      }
    }
    LayOut(platform);
    platform.drive.AddFile(letter);
    platform.drive.AddFolderLink(first, documents);
    platform.drive.AddFolderLink(second, documents);
    if (c.pinned != nullptr) platform.drive.PinLink(*c.pinned);
    if (c.failing != nullptr) platform.FailCall(c.failing, c.callNumber, c.error);
    qvn::ToolState state;
    qvn::InitToolState(state);
    const bool firstRemoved = false;  // nothing goes before everything is known
    if (c.stop != nullptr) {
      try {
        Remove(state);
        FAIL() << "expected a Failure";
      } catch (const qvn::Failure& failure) {
        EXPECT_EQ(failure.Item(), c.stop);
        EXPECT_NE(failure.Description().find(c.why), std::wstring::npos);
        EXPECT_EQ(failure.Description().find(first) != std::wstring::npos, firstRemoved) << "names what went";
      }
      EXPECT_EQ(platform.drive.Exists(first), !firstRemoved);
      EXPECT_FALSE(AnythingRemoved(platform.calls)) << "nothing of the installation is half removed";
      EXPECT_TRUE(platform.drive.Exists(kShortcut));
      EXPECT_TRUE(platform.registry.KeyExists(kUninstall));
    } else {
      EXPECT_TRUE(Remove(state));
      EXPECT_FALSE(platform.drive.Exists(kInstall));
      EXPECT_FALSE(platform.registry.KeyExists(kSettings));
    }
    EXPECT_TRUE(platform.drive.Exists(letter)) << "what a link leads to is never touched";
    EXPECT_EQ(platform.CallCount(c.ntFamily ? "FindFirstFileA" : "FindFirstFileW"), 0);
    EXPECT_EQ(platform.openFiles, 0);
  }
}

TEST(RemoveWhenNotInUse, TheProgramStandsOutsideWhatItRemoves) {
  struct Case {
    const char* what;
    void (*arrange)(SimulatedPlatform&);
    bool removes;
  };
  const Case cases[] = {
      {"started with its current folder inside the install folder",
       [](SimulatedPlatform& p) { p.currentFolder = "C:\\Program Files\\Quorvane\\Data"; }, true},
      {"run from a copy inside the install folder",
       [](SimulatedPlatform& p) { p.programFile = "C:\\Program Files\\Quorvane\\QvnRemove.exe"; }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SimulatedPlatform platform;
    LayOut(platform);
    platform.drive.AddFolder(L"C:\\WINDOWS");
    c.arrange(platform);
    qvn::ToolState state;
    qvn::InitToolState(state);
    int asked = 0;
    const auto ask = [&](const qvn::InUse&) {
      ++asked;
      return qvn::InUseAnswer::Cancel;
    };
    if (c.removes) {
      EXPECT_TRUE(qvn::RemoveWhenNotInUse(state, qvn::PlanRemoval(state), ask));
      EXPECT_EQ(asked, 0) << "its own current folder is no other program's";
      EXPECT_EQ(platform.currentFolder, "C:\\WINDOWS");
      EXPECT_FALSE(platform.drive.Exists(kInstall));
    } else {
      try {
        qvn::RemoveWhenNotInUse(state, qvn::PlanRemoval(state), ask);
        FAIL() << "expected a Failure";
      } catch (const qvn::Failure& failure) {
        EXPECT_EQ(failure.Item(), L"C:\\Program Files\\Quorvane\\QvnRemove.exe");
        EXPECT_NE(failure.Description().find(L"nothing has been removed"), std::wstring::npos);
      }
      EXPECT_FALSE(AnythingRemoved(platform.calls));
    }
  }
}

// Which running programs the in-use prompt offers to close: those whose file
// lies in the targets, by its full path, never by its name alone.
TEST(RemoveWhenNotInUse, OffersToCloseOnlyProgramsWhoseFileLiesInTheTargets) {
  const std::string quorvane = "C:\\Program Files\\Quorvane\\Quorvane.exe";
  struct Case {
    const char* what;
    DWORD platform, major, minor;
    const char* withheld;  // an entry point the system lacks
    std::string listedAs;  // the file as the system names it
    bool modulesReadable;
    bool offered;
  };
  const Case cases[] = {
      {"98: ToolHelp names the file in full", 1, 4, 10, "Process32FirstW", quorvane, true, true},
      {"98: in its short form", 1, 4, 10, "Process32FirstW", "C:\\PROGRA~1\\Quorvane\\Quorvane.exe", true, true},
      {"XP: its first module names it", 2, 5, 1, "QueryFullProcessImageNameW", quorvane, true, true},
      {"Vista: its image name, when its modules cannot be read", 2, 6, 0, nullptr, quorvane, false, true},
      {"NT 4.0: no ToolHelp, no offer", 2, 4, 0, "CreateToolhelp32Snapshot", quorvane, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SimulatedPlatform platform;
    platform.RunAs(c.platform, c.major, c.minor);
    LayOut(platform);
    platform.shortNames["C:\\Program Files\\Quorvane"] = "C:\\PROGRA~1\\Quorvane";
    if (c.withheld != nullptr) platform.WithholdEntryPoint(c.withheld);
    platform.drive.HoldOpen(std::wstring(kInstall) + L"\\Data\\prefs.dat");
    // The same name outside the targets is another program.
    platform.processes = {{8, "C:\\Other\\Quorvane.exe"}, {12, c.listedAs, c.modulesReadable}};
    qvn::ToolState state;
    qvn::InitToolState(state);
    std::vector<DWORD> offered;
    EXPECT_FALSE(qvn::RemoveWhenNotInUse(state, qvn::PlanRemoval(state), [&](const qvn::InUse& found) {
      for (const qvn::RunningProgram& program : found.programs) offered.push_back(program.processId);
      return qvn::InUseAnswer::Cancel;
    }));
    EXPECT_EQ(offered, c.offered ? std::vector<DWORD>{12} : std::vector<DWORD>{});
    EXPECT_EQ(platform.openFiles, 0) << "every snapshot and process opened is closed";
  }
}


// An install folder that is itself a folder link: the folder it leads to is
// the install folder, judged by the guard, removed, and the link goes by
// itself after it; what stays in use is left beside that folder, on its
// volume. Where the guard refuses what the link leads to, or cannot tell what
// that is, nothing at all is removed: Quorvane's files are there, and
// removing its keys would orphan them. The link is never opened but as
// itself, so that a server it names is never reached.
TEST(RemoveWhenNotInUse, AnInstallFolderThatIsALinkIsTheFolderItLeadsTo) {
  using Stored = SimulatedDrive::StoredLink;
  const Stored relative{qvn::kSymbolicLinkTag, L"..\\Apps\\.\\Quorvane", true};
  const Stored server{qvn::kSymbolicLinkTag, L"\\??\\UNC\\fs1\\apps\\Quorvane"};
  const Stored volume{qvn::kJunctionTag, L"\\??\\Volume{5a1d2e3c-0000-0000-0000-100000000000}\\"};
  // A chain of `links` junctions, C:\Links\1 to C:\Links\2 and on, the last to D:\Quorvane.
  const auto chain = [](SimulatedDrive& d, int links) {
    const auto name = [](int n) { return L"C:\\Links\\" + std::to_wstring(n); };
    d.AddFolderLink(kInstall, name(1));
    for (int n = 1; n < links; ++n) d.AddFolderLink(name(n), name(n + 1));
    d.AddFolderLink(name(links), L"D:\\Quorvane");
  };
  struct Case {
    const char* what;
    const wchar_t* files;  // where Quorvane's files lie
    std::function<void(SimulatedDrive&)> link;
    const wchar_t* refusal;  // in the Failure; null: the files go
    std::vector<std::wstring> pending;  // listed for the restart, and kept until then
  };
  const Case cases[] = {
      {"a junction to another drive", L"D:\\Quorvane",
       [](SimulatedDrive& d) { d.AddFolderLink(kInstall, L"D:\\Quorvane"); }, nullptr, {}},
      {"a running library goes at the restart, moved aside on the folder's own volume", L"D:\\Quorvane",
       [](SimulatedDrive& d) {
         d.AddFolderLink(kInstall, L"D:\\Quorvane");
         d.MapImage(L"D:\\Quorvane\\Data\\prefs.dat");
       },
       nullptr,
       {L"D:\\QvnRemove.pending\\1 prefs.dat", L"D:\\QvnRemove.pending\\QvnRemove.mark", L"D:\\QvnRemove.pending"}},
      {"a relative symbolic link", L"C:\\Apps\\Quorvane",
       [&](SimulatedDrive& d) { d.AddFolderLink(kInstall, L"C:\\Apps\\Quorvane", relative); }, nullptr, {}},
      {"a chain of as many links as are followed", L"D:\\Quorvane",
       [&](SimulatedDrive& d) { chain(d, qvn::kMostLinkHops - 1); }, nullptr, {}},
      {"a chain of one link more", L"D:\\Quorvane", [&](SimulatedDrive& d) { chain(d, qvn::kMostLinkHops); },
       L"a chain of more than 8 folder links", {}},
      {"a junction to the Windows folder", L"C:\\WINDOWS",
       [](SimulatedDrive& d) { d.AddFolderLink(kInstall, L"C:\\WINDOWS"); },
       L"a folder link that leads to C:\\WINDOWS: a drive root, or a folder of the system", {}},
      {"a symbolic link to a server", L"C:\\Share\\Quorvane",
       [&](SimulatedDrive& d) { d.AddFolderLink(kInstall, L"C:\\Share\\Quorvane", server); },
       L"a folder link that leads to a server (\\??\\UNC\\fs1\\apps\\Quorvane)", {}},
      {"a volume mounted in its place", L"E:\\Quorvane",
       [&](SimulatedDrive& d) { d.AddFolderLink(kInstall, L"E:\\", volume); },
       L"a folder link that leads to a whole volume (\\??\\Volume{5a1d2e3c-0000-0000-0000-100000000000}\\)", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SimulatedPlatform platform;
    platform.drives = "CDE";
    platform.drive.AddDrive(L'D');
    platform.drive.AddDrive(L'E');
    LayOut(platform, c.files);
    c.link(platform.drive);
    const std::wstring program = std::wstring(c.files) + L"\\Quorvane.exe";
    qvn::ToolState state;
    qvn::InitToolState(state);
    const auto leaveForTheRestart = [](const qvn::InUse&) { return qvn::InUseAnswer::RemoveAtRestart; };
    if (c.refusal == nullptr) {
      EXPECT_TRUE(qvn::RemoveWhenNotInUse(state, qvn::PlanRemoval(state), leaveForTheRestart));
      EXPECT_FALSE(platform.drive.Exists(program)) << "the files the link leads to are gone";
      EXPECT_FALSE(platform.drive.Exists(kInstall)) << "and the link after them";
      EXPECT_FALSE(platform.registry.KeyExists(kSettings));
      EXPECT_EQ(qvn::DeletionsPendingAtRestart(), c.pending);
      for (const std::wstring& path : c.pending) EXPECT_TRUE(platform.drive.Exists(path)) << Narrow(path);
    } else {
      try {
        qvn::RemoveWhenNotInUse(state, qvn::PlanRemoval(state), leaveForTheRestart);
        ADD_FAILURE() << "expected a Failure";
      } catch (const qvn::Failure& failure) {
        EXPECT_EQ(failure.Number(), 75);
        EXPECT_EQ(failure.Item(), kInstall);
        EXPECT_NE(failure.Description().find(c.refusal), std::wstring::npos) << Narrow(failure.Description());
        EXPECT_NE(failure.Description().find(L"nothing of Quorvane has been removed"), std::wstring::npos);
      }
      EXPECT_FALSE(AnythingRemoved(platform.calls));
      EXPECT_TRUE(platform.drive.Exists(program) && platform.drive.Exists(kInstall) && platform.drive.Exists(kShortcut));
      EXPECT_TRUE(platform.registry.KeyExists(kUninstall));
    }
    for (const std::wstring& call : platform.fileCalls) {
      const bool opensTheLink = Lower(call).find(Lower(std::wstring(L" ") + kInstall + L" ")) != std::wstring::npos;
      EXPECT_TRUE(!opensTheLink || call.find(L"OPEN_REPARSE_POINT") != std::wstring::npos) << Narrow(call);
    }
    EXPECT_EQ(platform.openFiles, 0);
  }
}

// "Remove at Restart": what stays in use is moved out of the way or listed
// where it is before anything is removed, and the rest goes now. When the
// system refuses, nothing is removed and the user is asked again, told why.
// A second run before the restart finds what the first left for it still in
// use: it stops nothing and is never listed twice.
TEST(RemoveWhenNotInUse, WhatStaysInUseIsLeftForTheRestartAndTheRestRemovedNow) {
  const wchar_t kNeedsAdministrator[] =
      L"Windows would not remove it at restart (error 5, access denied: that needs administrator rights)";
  struct Case {
    const char* what;
    bool ntFamily;
    void (*arrange)(SimulatedPlatform&);
    const wchar_t* refusal;             // what the user is told the system refused; null: nothing
    std::vector<std::wstring> pending;  // in the system's order
    std::vector<std::wstring> kept;     // still there after the run
    int runs = 1;
  };
  const Case cases[] = {
      {"a running library is moved aside", true, [](SimulatedPlatform& p) { p.drive.MapImage(kPrefs); }, nullptr,
       {kAside + L"\\1 prefs.dat", kAside + L"\\QvnRemove.mark", kAside}, {kAside + L"\\1 prefs.dat"}},
      {"a file open without delete sharing stays where it is, with its folders", true,
       [](SimulatedPlatform& p) { p.drive.HoldOpen(kPrefs); }, nullptr,
       {kPrefs, kData, kInstall}, {kPrefs}},
      {"another program's current folder stays where it is", true,
       [](SimulatedPlatform& p) { p.drive.MakeCurrentFolder(kData); }, nullptr, {kData, kInstall}, {kData}},
      {"a second run before the restart goes around what the first left", true,
       [](SimulatedPlatform& p) { p.drive.HoldOpen(kGroupFile); }, nullptr, {kGroupFile, kGroup}, {kGroupFile}, 2},
      {"without administrator rights nothing is removed", true,
       [](SimulatedPlatform& p) {
         p.drive.MapImage(kPrefs);
         p.registry.AllowReadOnly(SimulatedPlatform::kSessionManager);
       },
       kNeedsAdministrator, {}, {kProgram, kPrefs, kShortcut}},
      {"95/98/ME: the files are listed in WININIT.INI by their short names", false,
       [](SimulatedPlatform& p) { p.drive.HoldOpen(kPrefs); }, nullptr, {L"C:\\PROGRA~1\\QUORVANE\\DATA\\PREFS.DAT"},
       {kPrefs}},
      {"95/98/ME: a read-only WININIT.INI refuses, and nothing is removed", false,
       [](SimulatedPlatform& p) {
         p.drive.HoldOpen(kPrefs);
         p.drive.AddFile(L"C:\\WINDOWS\\WININIT.INI", /*readOnly=*/true);
       },
       kNeedsAdministrator, {}, {kPrefs, kProgram}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SimulatedPlatform platform;
    if (!c.ntFamily) platform.RunAs(1, 4, 10);
    platform.shortNames[Narrow(kPrefs)] = "C:\\PROGRA~1\\QUORVANE\\DATA\\PREFS.DAT";
    platform.drive.AddFolder(L"C:\\WINDOWS");
    LayOut(platform);
    c.arrange(platform);
    for (int run = 1; run <= c.runs; ++run) {
      SCOPED_TRACE(run);
      platform.calls.clear();
      qvn::ToolState state;
      qvn::InitToolState(state);
      int asked = 0;
      std::vector<std::wstring> refusals;
      const bool ran = qvn::RemoveWhenNotInUse(state, qvn::PlanRemoval(state), [&](const qvn::InUse& found) {
        ++asked;
        EXPECT_FALSE(AnythingRemoved(platform.calls)) << "removed before the user answered";
        if (found.restartRefusal.empty()) return qvn::InUseAnswer::RemoveAtRestart;
        refusals.push_back(found.restartRefusal);
        return qvn::InUseAnswer::Cancel;
      });
      EXPECT_EQ(ran, c.refusal == nullptr);
      EXPECT_EQ(refusals, c.refusal == nullptr ? std::vector<std::wstring>{} : std::vector<std::wstring>{c.refusal});
      EXPECT_EQ(asked, run > 1 ? 0 : c.refusal == nullptr ? 1 : 2);
      EXPECT_EQ(c.ntFamily ? qvn::DeletionsPendingAtRestart() : qvn::DeletionsPendingInWininit(), c.pending);
      for (const std::wstring& path : c.kept) EXPECT_TRUE(platform.drive.Exists(path)) << Narrow(path);
      if (ran) {
        EXPECT_FALSE(platform.drive.Exists(kProgram));
        EXPECT_FALSE(platform.registry.KeyExists(kSettings));
        const bool groupKept = std::find(c.kept.begin(), c.kept.end(), kGroupFile) != c.kept.end();
        EXPECT_FALSE(c.ntFamily && (platform.drive.Exists(kShortcut) || (!groupKept && platform.drive.Exists(kGroupFile))));
      } else {
        EXPECT_FALSE(AnythingRemoved(platform.calls));
        EXPECT_FALSE(platform.drive.Exists(kAside)) << "what was moved aside is moved back";
      }
      for (const std::wstring& call : platform.calls) {
        EXPECT_TRUE(run == 1 || call.rfind(L"DeleteF", 0) != 0) << "nothing was left for a second run: " << Narrow(call);
      }
    }
  }
}

class Lines : public qvn::LogSink {
 public:
  void Write(const std::wstring& line) override { lines.push_back(line); }
  std::vector<std::wstring> lines;
};

// A run that stopped after moving files aside, before listing them for the
// restart, left a marked folder beside the install folder (made here as the
// program makes it). The next removal finishes it before its first step:
// removed when nothing in it is in use, else listed whole for the restart, and
// never what is listed already again. A folder of that name without the mark
// is someone else's.
TEST(RemoveWhenNotInUse, WhatAnInterruptedRunLeftBesideTheInstallFolderIsFinished) {
  const std::wstring moved = kAside + L"\\1 Quorvane.exe";
  const std::wstring mark = kAside + L"\\QvnRemove.mark";
  const std::wstring second = kAside + L".2";
  const std::wstring notes = kAside + L"\\notes.txt";  // in a folder someone else made
  const std::wstring removed = L"Left by an interrupted run, removed: ";
  const std::wstring wouldRemove = L"Left by an interrupted run, would be removed: ";
  const std::wstring wouldList = L"Left by an interrupted run, still in use, would be left for the restart: ";
  struct Case {
    const char* what;
    bool someoneElses;          // a folder of the first name, unmarked, made first
    bool interrupted;           // the run's marked folder, with Quorvane.exe moved into it
    bool running;               // that Quorvane.exe still runs
    std::size_t listedBefore;   // of it, its mark and the folder, how many the run had listed
    std::vector<std::wstring> kept;     // of what lies beside the install folder
    std::vector<std::wstring> gone;
    std::vector<std::wstring> pending;  // listed for the restart after the run, in the system's order
    std::vector<std::wstring> told;     // the log's lines about it, in order
    std::vector<std::wstring> listed;   // what /WHATIF says beforehand
    bool unlistedLater = false;         // the folder cannot be listed once more, to list what is in it
  };
  const Case cases[] = {
      {"nothing in it in use: removed", false, true, false, 0, {}, {kAside}, {}, {removed + kAside},
       {wouldRemove + kAside}},
      {"a program still running from it: listed whole for the restart", false, true, true, 0, {moved, mark}, {},
       {moved, mark, kAside},
       {L"Removed at the restart: " + moved, L"Removed at the restart: " + mark, L"Removed at the restart: " + kAside,
        L"Left by an interrupted run, still in use, left for the restart: " + kAside},
       {wouldList + kAside}},
      {"stopped while listing: the rest is listed, the first not again", false, true, true, 1, {moved, mark}, {},
       {moved, mark, kAside},
       {L"Removed at the restart: " + mark, L"Removed at the restart: " + kAside,
        L"Left by an interrupted run, still in use, left for the restart: " + kAside},
       {wouldList + kAside}},
      {"listed whole by the run that made it: not listed twice", false, true, true, 3, {moved, mark}, {},
       {moved, mark, kAside}, {}, {}},
      {"a folder that can no longer be listed: not finished, nothing listed", false, true, true, 0, {moved, mark}, {},
       {}, {L"Left by an interrupted run, not finished (a folder in it cannot be listed: " + kAside + L"): " + kAside},
       {wouldList + kAside}, true},
      {"no mark: someone else's, never touched", true, false, false, 0, {notes}, {}, {}, {}, {}},
      {"no mark on the first name, the mark on the second", true, true, false, 0, {notes}, {second}, {},
       {removed + second}, {wouldRemove + second}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SimulatedPlatform platform;
    LayOut(platform);
    if (c.someoneElses) platform.drive.AddFile(notes);
    if (c.interrupted) {
      const std::wstring folder = qvn::MakeFolderBeside(kInstall).path;
      const std::wstring file = folder + L"\\1 Quorvane.exe";
      platform.drive.AddFile(file);
      if (c.running) platform.drive.MapImage(file);
      const std::wstring entries[] = {file, folder + L"\\QvnRemove.mark", folder};
      for (std::size_t listed = 0; listed < c.listedBefore; ++listed) qvn::ScheduleDeletionAtRestart(entries[listed]);
    }
    qvn::ToolState state;
    qvn::InitToolState(state);
    const qvn::RemovalPlan plan = qvn::PlanRemoval(state);
    EXPECT_EQ(qvn::ListInterruptedRuns(state, plan), c.listed) << "/WHATIF says what the removal will do";
    Lines sink;
    qvn::RemovalLog log(sink);
    // The third listing from here: the one made to list what is in it for the
    // restart, after those of the check.
    if (c.unlistedLater) platform.FailCall("FindFirstFileW", platform.CallCount("FindFirstFileW") + 3, ERROR_ACCESS_DENIED);
    EXPECT_TRUE(qvn::RemoveWhenNotInUse(state, plan, [](const qvn::InUse&) { return qvn::InUseAnswer::Cancel; },
                                        {&log, true, {}}));
    EXPECT_FALSE(platform.drive.Exists(kInstall));
    for (const std::wstring& path : c.kept) EXPECT_TRUE(platform.drive.Exists(path)) << Narrow(path);
    for (const std::wstring& path : c.gone) EXPECT_FALSE(platform.drive.Exists(path)) << Narrow(path);
    EXPECT_EQ(qvn::DeletionsPendingAtRestart(), c.pending);
    std::vector<std::wstring> told;
    for (const std::wstring& line : sink.lines) {
      if (line.rfind(L"Left by", 0) == 0 || line.rfind(L"Removed at the restart", 0) == 0) told.push_back(line);
    }
    EXPECT_EQ(told, c.told);
    EXPECT_EQ(platform.openFiles, 0);
  }
}

// The system takes the move aside, then refuses the restart's list, and the
// file cannot go back (its name was taken meanwhile): never a silent half
// removal, the failure says where the file is.
TEST(RemoveWhenNotInUse, AFileThatCannotBeMovedBackStopsTheRemovalSayingWhereItIs) {
  SimulatedPlatform platform;
  LayOut(platform);
  platform.drive.MapImage(kPrefs);
  platform.FailCall("MoveFileExW", 1, ERROR_ACCESS_DENIED);  // listing the moved file
  platform.Before("MoveFileExW", 1, [&platform] { platform.drive.AddFile(kPrefs); });  // its name taken
  qvn::ToolState state;
  qvn::InitToolState(state);
  try {
    qvn::RemoveWhenNotInUse(state, qvn::PlanRemoval(state), [](const qvn::InUse&) {
      return qvn::InUseAnswer::RemoveAtRestart;
    });
    FAIL() << "expected a Failure";
  } catch (const qvn::Failure& failure) {
    EXPECT_EQ(failure.Item(), kPrefs);
    EXPECT_NE(failure.Description().find(L"it is now " + kAside + L"\\1 prefs.dat"), std::wstring::npos);
  }
  EXPECT_FALSE(AnythingRemoved(platform.calls));
  EXPECT_EQ(platform.openFiles, 0);
}

// What the main window shows of a long removal comes from the removal
// itself. On the NT family the claim tells every 200 entries met, its total
// once known, and the marks keep that count; the commit tells every 200
// entries gone, and its end. On 95/98/ME the check tells every 256 files and
// folders met, its total once known; the removal tells each target gone,
// counted as the check found it, and each entry it takes by itself around
// what stays for the restart.
TEST(RemoveWhenNotInUse, TellsHowFarItHasComeAsItChecksAndRemoves) {
  using Phase = qvn::RemovalProgress::Phase;
  struct Told {
    Phase phase;
    std::size_t done, total;
    bool operator==(const Told& other) const {
      return phase == other.phase && done == other.done && total == other.total;
    }
  };
  class Recorder : public qvn::RemovalObserver {
   public:
    void StepDone(const qvn::StepReport&) override {}
    void LinkRemoved(const std::wstring&) override {}
    void ProgramsAskedToClose(const std::vector<qvn::CloseOutcome>&) override {}
    void Working(const qvn::RemovalProgress& progress) override {
      told.push_back({progress.phase, progress.done, progress.total});
    }
    std::vector<Told> told;
  };
  constexpr Phase C = Phase::Checking;
  constexpr Phase R = Phase::Removing;
  struct Case {
    const char* what;
    bool nineX;
    int moreFiles;  // in the install folder's Data
    bool prefsHeld;  // Data\prefs.dat stays for the restart
    std::vector<Told> told;
  };
  // The shortcut is one entry, the group two, the install folder four.
  const Case cases[] = {
      {"NT: a small installation: each phase tells its end", false, 0, false, {{C, 7, 7}, {R, 7, 7}}},
      {"NT: 300 more files: every 200, the total once known", false, 300, false,
       {{C, 200, 0}, {C, 307, 307}, {C, 307, 307}, {R, 200, 307}, {R, 307, 307}}},
      {"NT: a file held elsewhere is claimed again once left for the restart", false, 0, true,
       {{C, 7, 7}, {C, 7, 7}, {R, 4, 6}}},
      {"98: a small installation: each phase tells its end", true, 0, false,
       {{C, 7, 7}, {R, 1, 7}, {R, 3, 7}, {R, 7, 7}, {R, 7, 7}}},
      {"98: 300 more files: the check tells every 256 while the total is not known", true, 300, false,
       {{C, 256, 0}, {C, 307, 307}, {R, 1, 307}, {R, 3, 307}, {R, 307, 307}, {R, 307, 307}}},
      {"98: a file that stays for the restart: each entry taken around it", true, 0, true,
       {{C, 7, 7}, {R, 1, 7}, {R, 3, 7}, {R, 4, 7}, {R, 7, 7}, {R, 7, 7}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SimulatedPlatform platform;
    LayOut(platform);
    if (c.nineX) RunAsNineX(platform);
    platform.shortNames[Narrow(kPrefs)] = "C:\\PROGRA~1\\QUORVANE\\DATA\\PREFS.DAT";  // as WININIT.INI lists it
    for (int i = 0; i < c.moreFiles; ++i) platform.drive.AddFile(kData + L"\\File " + std::to_wstring(i) + L".dat");
    if (c.prefsHeld) platform.drive.HoldOpen(kPrefs);
    qvn::ToolState state;
    qvn::InitToolState(state);
    Recorder recorder;
    qvn::RemovalOptions options;
    options.observer = &recorder;
    EXPECT_TRUE(qvn::RemoveWhenNotInUse(
        state, qvn::PlanRemoval(state), [](const qvn::InUse&) { return qvn::InUseAnswer::RemoveAtRestart; }, options));
    std::string all;
    for (const Told& told : recorder.told) {
      all += (told.phase == C ? " C" : " R") + std::to_string(told.done) + "/" + std::to_string(told.total);
    }
    EXPECT_TRUE(recorder.told == c.told) << "told:" << all;
  }
}

}  // namespace
