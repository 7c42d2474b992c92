#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>

#include "services/AsideFolder.h"
#include "services/DeleteAtRestart.h"
#include "services/FilesInUse.h"
#include "services/Wininit.h"
#include "tests/wine/FileFixture.h"
#include "tests/wine/Installation.h"
#include "tests/wine/RegistryFixture.h"

namespace {

const char kRoot[] = "C:\\qvn-restart";
const char kInstall[] = "C:\\qvn-restart\\Quorvane";
const char kWininit[] = "C:\\windows\\WININIT.INI";

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

class RemovalAtRestartUnderWine : public testing::Test {
 protected:
  void SetUp() override {
    fixture::RemoveTree(kRoot);
    fixture::MakeFolder(kInstall);
  }
  void TearDown() override { fixture::RemoveTree(kRoot); }
};

TEST_F(RemovalAtRestartUnderWine, WhatIsInUseMovesAsideOnlyWhereWindowsLetsIt) {
  if (!fixture::IsNtFamily()) GTEST_SKIP() << "95/98/ME schedule through WININIT.INI and move nothing";
  const std::string program = std::string(kInstall) + "\\Quorvane.exe";
  const std::string held = std::string(kInstall) + "\\prefs.dat";
  const std::string current = std::string(kInstall) + "\\Work";
  const std::string idle = std::string(kRoot) + "\\idle.exe";
  ASSERT_TRUE(fixture::CopyThisProgramTo(program) && fixture::CopyThisProgramTo(idle));
  fixture::MakeFile(held);
  fixture::MakeFolder(current);
  fixture::MakeFile(std::string(kRoot) + "\\QvnRemove.pending");  // a file has the first name
  struct Case {
    const char* what;
    std::string from;
    std::function<std::shared_ptr<void>()> hold;
    DWORD error;
  };
  const Case cases[] = {
      {"a file held open without delete sharing", held,
       [&] { return std::make_shared<fixture::FileHeldByAnotherProcess>(held); }, ERROR_SHARING_VIOLATION},
      {"a running program's file", program,
       [&] { return std::make_shared<fixture::ProgramRunning>(program, "C:\\windows"); }, ERROR_SUCCESS},
      {"a process's current folder", current, [&] { return std::make_shared<fixture::ProgramRunning>(idle, current); },
       ERROR_SHARING_VIOLATION},
  };

  const qvn::AsideFolder aside = qvn::MakeFolderBeside(Wide(kInstall));
  ASSERT_EQ(aside.path, Wide(kRoot) + L"\\QvnRemove.pending.2");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::shared_ptr<void> holder = c.hold();
    ASSERT_EQ(qvn::SurveyTargets({{Wide(c.from), c.from == current}}, true, true).inUse.size(), 1u);
    const std::string to = std::string(kRoot) + "\\QvnRemove.pending.2" + c.from.substr(c.from.rfind('\\'));
    EXPECT_EQ(qvn::MoveEntry(Wide(c.from), Wide(to)), c.error);
    EXPECT_EQ(fixture::PathExists(c.from), c.error != ERROR_SUCCESS);
    EXPECT_EQ(fixture::PathExists(to), c.error == ERROR_SUCCESS);
  }
  EXPECT_EQ(qvn::MakeFolderBeside(Wide(kInstall)).path, Wide(kRoot) + L"\\QvnRemove.pending.3");
}

TEST_F(RemovalAtRestartUnderWine, ScheduledDeletionsAreReadBackWhateverTheirNames) {
  if (!fixture::IsNtFamily()) GTEST_SKIP() << "95/98/ME schedule through WININIT.INI";
  // Nothing may stay listed after the test: a later restart of Wine would
  // carry it out on another test's files.
  ASSERT_TRUE(qvn::DeletionsPendingAtRestart().empty()) << "the lists are removed whole at the end";
  const std::wstring folder = Wide(kInstall);
  const std::wstring file = folder + L"\\\x0424\x0430\x0439\x043B.txt";  // "Файл.txt", outside the code page
  ::CloseHandle(::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));

  EXPECT_EQ(qvn::ScheduleDeletionAtRestart(file), ERROR_SUCCESS);
  EXPECT_EQ(qvn::ScheduleDeletionAtRestart(folder), ERROR_SUCCESS);
  EXPECT_EQ(qvn::DeletionsPendingAtRestart(), (std::vector<std::wstring>{file, folder}));
  EXPECT_NE(::GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES) << "nothing goes before the restart";
  fixture::ForgetWhatIsLeftForTheRestart();
}

TEST_F(RemovalAtRestartUnderWine, WininitLinesJoinAnotherProgramsLine) {
  if (fixture::IsNtFamily()) GTEST_SKIP() << "the NT family lists deletions in the registry";
  const std::string others = "[rename]\r\nC:\\other.new=C:\\other.tmp\r\n";
  ASSERT_FALSE(fixture::PathExists(kWininit)) << "left by another test";
  ASSERT_TRUE(fixture::WriteText(kWininit, others));
  const std::string files[] = {std::string(kInstall) + "\\Quorvane.exe", std::string(kInstall) + "\\Long Help.hlp"};
  std::vector<std::wstring> shortPaths;
  std::string lines;
  for (const std::string& file : files) {
    fixture::MakeFile(file);
    shortPaths.push_back(Wide(fixture::ShortPath(file)));
    lines += "NUL=" + fixture::ShortPath(file) + "\r\n";
  }

  EXPECT_EQ(qvn::ScheduleDeletionsInWininit({Wide(files[0]), Wide(files[1])}), ERROR_SUCCESS);
  EXPECT_EQ(fixture::TextOf(kWininit), others + lines);
  EXPECT_EQ(qvn::DeletionsPendingInWininit(), shortPaths);
  ::DeleteFileA(kWininit);
}

// Wine runs as root here, which writes to a read-only file: the runner makes
// WININIT.INI immutable on the host side instead, so that every open for
// writing is refused as a read-only file's is on Windows.
TEST_F(RemovalAtRestartUnderWine, WininitThatCannotBeWrittenRefusesAndStaysAsItWas) {
  if (std::getenv("QVN_WININIT_READ_ONLY") == nullptr) GTEST_SKIP() << "run by tests/wine/run, which locks the file";
  const std::string before = fixture::TextOf(kWininit);
  const std::string file = std::string(kInstall) + "\\Quorvane.exe";
  fixture::MakeFile(file);
  EXPECT_EQ(qvn::ScheduleDeletionsInWininit({Wide(file)}), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(fixture::TextOf(kWininit), before);
  EXPECT_FALSE(before.empty());
}

}  // namespace
