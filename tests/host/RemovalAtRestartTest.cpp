#include <gtest/gtest.h>

#include <fstream>

#include "services/AsideFolder.h"
#include "services/DeleteAtRestart.h"
#include "services/Wininit.h"
#include "tests/fakes/SimulatedPlatform.h"

namespace {

const std::wstring kInstall = L"C:\\Program Files\\Quorvane";
const std::wstring kAside = L"C:\\Program Files\\QvnRemove.pending";

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// What the removal does with the outcome (a running program's file moved
// aside, a file held open listed where it is) is in RunRemovalTest's table;
// these are the system's other refusals.
TEST(MoveEntry, RenamesWhatIsInUseOnlyWhereWindowsAllowsIt) {
  struct Case {
    const char* what;
    std::wstring from;
    void (*arrange)(SimulatedDrive&);
    LONG error;
  };
  const std::wstring program = kInstall + L"\\Quorvane.exe";
  const std::wstring data = kInstall + L"\\Data";
  const Case cases[] = {
      {"a process's current folder", data, [](SimulatedDrive& d) { d.MakeCurrentFolder(kInstall + L"\\Data"); },
       ERROR_SHARING_VIOLATION},
      {"a folder with a running program inside", data,
       [](SimulatedDrive& d) { d.MapImage(kInstall + L"\\Data\\helper.dll"); }, ERROR_ACCESS_DENIED},
      {"a file a mounted folder puts on another volume", kInstall + L"\\Mounted\\big.dat",
       [](SimulatedDrive& d) {
         d.AddDrive(L'D');
         d.AddFile(L"D:\\Volume\\big.dat");
         d.AddFolderLink(kInstall + L"\\Mounted", L"D:\\Volume");
       },
       ERROR_NOT_SAME_DEVICE},
      {"a name already taken in the folder aside", program,
       [](SimulatedDrive& d) { d.AddFile(kAside + L"\\Quorvane.exe"); }, ERROR_ALREADY_EXISTS},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SimulatedPlatform platform;
    platform.drive.AddFile(kInstall + L"\\Quorvane.exe");
    platform.drive.AddFile(kInstall + L"\\Data\\helper.dll");
    ASSERT_EQ(Narrow(qvn::MakeFolderBeside(kInstall).path), Narrow(kAside));
    c.arrange(platform.drive);
    const std::wstring to = kAside + c.from.substr(c.from.rfind(L'\\'));
    const bool targetWasThere = platform.drive.Exists(to);

    EXPECT_EQ(qvn::MoveEntry(c.from, to), static_cast<DWORD>(c.error));
    EXPECT_EQ(platform.drive.Exists(c.from), c.error != ERROR_SUCCESS);
    EXPECT_EQ(platform.drive.Exists(to), c.error == ERROR_SUCCESS || targetWasThere);
  }
}

TEST(DeleteAtRestart, WhatIsScheduledIsReadBackAndRenamesAreNot) {
  SimulatedPlatform platform;
  const char* const key = SimulatedPlatform::kSessionManager;
  // Another program's rename, as the system lists it, then its deletion.
  const char other[] = "\\??\\C:\\old.dll\0!\\??\\C:\\new.dll\0\\??\\C:\\other.tmp\0\0";
  platform.registry.SetValue(key, "PendingFileRenameOperations", REG_MULTI_SZ, {other, other + sizeof other});
  const char later[] = "\\??\\C:\\later.tmp\0\0";
  platform.registry.SetValue(key, "PendingFileRenameOperations2", REG_MULTI_SZ, {later, later + sizeof later});

  EXPECT_EQ(qvn::ScheduleDeletionAtRestart(kAside + L"\\Quorvane.exe"), ERROR_SUCCESS);
  EXPECT_EQ(qvn::ScheduleDeletionAtRestart(kAside), ERROR_SUCCESS);
  const std::vector<std::wstring> expected = {L"C:\\other.tmp", kAside + L"\\Quorvane.exe", kAside, L"C:\\later.tmp"};
  EXPECT_EQ(qvn::DeletionsPendingAtRestart(), expected);
}

const std::wstring kWininit = L"C:\\WINDOWS\\WININIT.INI";
const std::vector<std::wstring> kFiles = {kInstall + L"\\Quorvane.exe", kInstall + L"\\Help.hlp"};
const std::vector<std::wstring> kShortFiles = {L"C:\\PROGRA~1\\QUORVANE\\QUORVANE.EXE",
                                               L"C:\\PROGRA~1\\QUORVANE\\HELP.HLP"};

// Windows 98 with Quorvane's two files, and WININIT.INI holding `text`
// unless it is null.
void LayOutNineX(SimulatedPlatform& platform, const char* text) {
  platform.RunAs(1, 4, 10);
  platform.drive.AddFolder(L"C:\\WINDOWS");
  for (std::size_t i = 0; i < kFiles.size(); ++i) {
    platform.drive.AddFile(kFiles[i]);
    platform.shortNames[Narrow(kFiles[i])] = Narrow(kShortFiles[i]);
  }
  if (text != nullptr) std::ofstream(platform.drive.HostPath(kWininit), std::ios::binary) << text;
}

TEST(Wininit, LinesGoAfterTheRenameSectionsOwnAndEveryOtherByteStays) {
  const std::string added = "NUL=C:\\PROGRA~1\\QUORVANE\\QUORVANE.EXE\r\nNUL=C:\\PROGRA~1\\QUORVANE\\HELP.HLP\r\n";
  struct Case {
    const char* what;
    const char* before;  // null: no WININIT.INI
    std::string after;
  };
  const Case cases[] = {
      {"no file", nullptr, "[rename]\r\n" + added},
      {"another section only, its last line unended", "[other]\r\nx=1", "[other]\r\nx=1\r\n[rename]\r\n" + added},
      {"another program's section, then another section", "[Rename]\nC:\\a.new=C:\\a.tmp\n\n[other]\n",
       "[Rename]\nC:\\a.new=C:\\a.tmp\n" + added + "\n[other]\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SimulatedPlatform platform;
    LayOutNineX(platform, c.before);
    EXPECT_EQ(qvn::ScheduleDeletionsInWininit(kFiles), ERROR_SUCCESS);
    EXPECT_EQ(platform.drive.Contents(kWininit), c.after);
    EXPECT_EQ(qvn::DeletionsPendingInWininit(), kShortFiles);
    EXPECT_EQ(platform.openFiles, 0);
  }
}

// A read-only WININIT.INI is a row of RunRemovalTest's table.
TEST(Wininit, AFailureLeavesTheFileAsItWas) {
  const char before[] = "[rename]\r\nC:\\a.new=C:\\a.tmp\r\n[other]\r\nx=1\r\n";
  struct Case {
    const char* what;
    void (*arrange)(SimulatedPlatform&);
    LONG error;
  };
  const Case cases[] = {
      {"no room for the longer file", [](SimulatedPlatform& p) { p.FailCall("SetEndOfFile", 1, ERROR_DISK_FULL); },
       ERROR_DISK_FULL},
      {"a write that fails", [](SimulatedPlatform& p) { p.FailCall("WriteFile", 1, ERROR_DISK_FULL); },
       ERROR_DISK_FULL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SimulatedPlatform platform;
    LayOutNineX(platform, before);
    c.arrange(platform);
    EXPECT_EQ(qvn::ScheduleDeletionsInWininit(kFiles), static_cast<DWORD>(c.error));
    EXPECT_EQ(platform.drive.Contents(kWininit), before);
    EXPECT_TRUE(qvn::DeletionsPendingInWininit().empty());
    EXPECT_EQ(platform.openFiles, 0);
  }
}

}  // namespace
