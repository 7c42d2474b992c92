#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "services/ClaimTree.h"
#include "services/CommitTree.h"
#include "services/MarkTree.h"
#include "services/NtFileApi.h"
#include "tests/wine/FileFixture.h"
#include "tests/wine/RegistryFixture.h"

// The claim, the mark and the commit against the real platform, with real
// processes holding and running real files: the rows of the status table
// that Wine can show. (Wine lets a file marked for deletion be opened again,
// so STATUS_DELETE_PENDING, and an access list that denies Delete, are rows
// of the host tests only.)
namespace {

const char kRoot[] = "C:\\qvn-handles";
const std::wstring kWideRoot = L"C:\\qvn-handles";

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

class RemovalByHandlesUnderWine : public testing::Test {
 protected:
  void SetUp() override {
    if (!fixture::IsNtFamily()) GTEST_SKIP() << "95/98/ME have no ntdll: they keep the check and the scripting object";
    fixture::RemoveTree(kRoot);
    fixture::MakeFolder(std::string(kRoot) + "\\Data");
    fixture::MakeFile(std::string(kRoot) + "\\Data\\prefs.dat");
  }
  void TearDown() override { fixture::RemoveTree(kRoot); }

  static qvn::ClaimResult Claim(qvn::HeldTree& tree) { return qvn::ClaimTargets(tree, {{kWideRoot, true}}); }

  static std::vector<std::wstring> Paths(const qvn::HeldTree& tree, const std::vector<std::size_t>& entries) {
    std::vector<std::wstring> paths;
    for (std::size_t entry : entries) paths.push_back(tree.PathOf(entry));
    return paths;
  }
};

// Whatever another process does stops the claim (held without delete
// sharing, a current folder) or the mark (a running program, read-only or
// not), and once the tree is dropped everything is as it was, the read-only
// attribute taken off for the mark included.
TEST_F(RemovalByHandlesUnderWine, WhatAnotherProcessHoldsStopsTheClaimOrTheMarkAndNothingChanges) {
  const std::string program = std::string(kRoot) + "\\Quorvane.exe";
  const std::string prefs = std::string(kRoot) + "\\Data\\prefs.dat";
  const std::string data = std::string(kRoot) + "\\Data";
  struct Case {
    const char* what;
    std::function<std::shared_ptr<void>()> hold;
    bool readOnly;
    std::vector<std::wstring> inUse;    // refused at the claim
    std::vector<std::wstring> refused;  // refused at the mark
  };
  const Case cases[] = {
      {"a file held without delete sharing",
       [&] { return std::make_shared<fixture::FileHeldByAnotherProcess>(prefs); }, false, {Wide(prefs)}, {}},
      {"a process's current folder: what is in it is claimed all the same",
       [&] { return std::make_shared<fixture::ProgramRunning>(fixture::ThisProgram(), data); }, false, {Wide(data)}, {}},
      {"a running program", [&] { return std::make_shared<fixture::ProgramRunning>(program, "C:\\windows"); }, false,
       {}, {Wide(program)}},
      {"a running read-only program", [&] { return std::make_shared<fixture::ProgramRunning>(program, "C:\\windows"); },
       true, {}, {Wide(program)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(fixture::CopyThisProgramTo(program));
    if (c.readOnly) ::SetFileAttributesA(program.c_str(), FILE_ATTRIBUTE_READONLY);
    const std::shared_ptr<void> holder = c.hold();
    {
      qvn::HeldTree tree(true);
      const qvn::ClaimResult claim = Claim(tree);
      EXPECT_EQ(Paths(tree, claim.inUse), c.inUse);
      EXPECT_TRUE(claim.unconfirmedLinks.empty());
      const bool prefsHeld = std::any_of(tree.entries.begin(), tree.entries.end(), [](const qvn::HeldEntry& entry) {
        return entry.name == L"prefs.dat" && entry.state == qvn::HeldEntry::State::Held;
      });
      EXPECT_EQ(prefsHeld, c.inUse.empty() || c.inUse.front() == Wide(data)) << "claimed, in a folder in use too";
      EXPECT_EQ(Paths(tree, qvn::MarkTree(tree)), c.refused);
    }  // dropped: every mark undone, every handle released
    EXPECT_TRUE(fixture::PathExists(prefs));
    EXPECT_TRUE(fixture::PathExists(program));
    const DWORD attributes = ::GetFileAttributesA(program.c_str());
    EXPECT_EQ((attributes & FILE_ATTRIBUTE_READONLY) != 0, c.readOnly);
    ::SetFileAttributesA(program.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

// A file opened later without delete sharing is refused while the claim
// holds it: the claim is a check nobody can slip past.
TEST_F(RemovalByHandlesUnderWine, AClaimedFileRefusesWhoeverOpensItWithoutSharingDeletion) {
  qvn::HeldTree tree(true);
  ASSERT_TRUE(Claim(tree).inUse.empty());
  const std::string prefs = std::string(kRoot) + "\\Data\\prefs.dat";
  HANDLE late = ::CreateFileA(prefs.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
  EXPECT_EQ(late, INVALID_HANDLE_VALUE);
  EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  if (late != INVALID_HANDLE_VALUE) ::CloseHandle(late);
}

// Names the path rules cannot reach and a path longer than 260 characters:
// claimed relative to their folder, marked and removed, with the folder.
TEST_F(RemovalByHandlesUnderWine, NamesAndLengthsNoPathReachesAreRemovedWithTheirFolder) {
  const std::wstring odd = kWideRoot + L"\\Odd";
  ::CreateDirectoryW(odd.c_str(), nullptr);
  for (const wchar_t* name : {L"con", L"aux.txt", L"readme.", L"notes "}) fixture::MakeFileNamedExactly(odd, name);
  std::wstring deep = L"\\\\?\\" + kWideRoot;
  for (int level = 0; level < 12; ++level) {
    deep += L"\\a folder with a name of some length " + std::to_wstring(level);
    ::CreateDirectoryW(deep.c_str(), nullptr);
  }
  fixture::MakeFileNamedExactly(deep, L"deep.dat");
  ASSERT_GT(deep.size(), 300u);

  qvn::HeldTree tree(true);
  const qvn::ClaimResult claim = Claim(tree);
  EXPECT_TRUE(claim.inUse.empty());
  EXPECT_EQ(tree.entries.size(), 1u + 1 + 1 + 1 + 4 + 12 + 1) << "the folder, Data, prefs.dat, Odd, its four, the deep path";
  EXPECT_TRUE(qvn::MarkTree(tree).empty());
  qvn::CloseMarked(tree);
  EXPECT_TRUE(qvn::RemoveFolders(tree, 0).empty());
  EXPECT_FALSE(fixture::PathExists(kRoot));
}

// A file another process holds sharing deletion does not stop the claim, and
// keeps its name until that process lets go. (Wine then accepts the mark of
// the folder it lingers in, where Windows refuses it as not empty; the
// removal's wait and its leaving the folder for the restart are rows of the
// host tests.)
TEST_F(RemovalByHandlesUnderWine, ANameHeldWithDeleteSharingLingersUntilItsHolderLetsGo) {
  const std::string prefs = std::string(kRoot) + "\\Data\\prefs.dat";
  auto holder = std::make_unique<fixture::FileHeldByAnotherProcess>(prefs, fixture::FileHeldByAnotherProcess::Sharing::Delete);
  ASSERT_TRUE(holder->Holds());
  qvn::HeldTree tree(true);
  ASSERT_TRUE(Claim(tree).inUse.empty()) << "a holder that shares deletion is no use to stop at";
  EXPECT_TRUE(qvn::MarkTree(tree).empty());
  qvn::CloseMarked(tree);
  EXPECT_TRUE(fixture::PathExists(prefs)) << "the name lingers while it is held";
  holder.reset();
  for (int waited = 0; waited < 40 && fixture::PathExists(prefs); ++waited) ::Sleep(50);
  EXPECT_FALSE(fixture::PathExists(prefs)) << "and goes when its holder lets go";
}

}  // namespace
