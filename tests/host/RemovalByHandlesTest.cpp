#include <gtest/gtest.h>

#include <functional>

#include "app/InitToolState.h"
#include "app/RemovalPlan.h"
#include "app/RemoveWhenNotInUse.h"
#include "services/DeleteAtRestart.h"
#include "services/Failure.h"
#include "services/NtFileApi.h"
#include "tests/fakes/SimulatedInstallation.h"
#include "tests/fakes/SimulatedPlatform.h"

// The NT family's removal by handles meeting what Wine cannot show: each
// case ends removed completely, in use with nothing removed, stopped with
// nothing removed, or with what another program kept left for the restart;
// never half removed, and never with a mark held while anyone is asked.
namespace {

using namespace installed;

// What the removal tells its observer, kept.
class Record : public qvn::RemovalObserver {
 public:
  void StepDone(const qvn::StepReport& report) override { steps.push_back(report); }
  void LinkRemoved(const std::wstring&) override {}
  void ProgramsAskedToClose(const std::vector<qvn::CloseOutcome>&) override {}
  void RemovingInParts(std::size_t) override { inParts = true; }
  void FolderLeftForRestart(const std::wstring& folder, bool addedTo) override {
    left.push_back((addedTo ? L"added to: " : L"held: ") + folder);
  }
  void Working(const qvn::RemovalProgress& progress) override { last = progress; }
  void MarksHeld(bool held) override {
    EXPECT_NE(held, marksHeld) << "marks are set once and carried out or undone once";
    marksHeld = held;
  }

  std::vector<qvn::StepReport> steps;
  std::vector<std::wstring> left;
  bool inParts = false;
  bool marksHeld = false;
  qvn::RemovalProgress last{qvn::RemovalProgress::Phase::Checking, 0, 0};
};

enum class End { Removed, InUseNothingRemoved, StoppedNothingRemoved, RemovedButLeftForRestart };

bool IsReadOnly(const SimulatedPlatform& platform, const std::wstring& path) {
  const auto permissions = std::filesystem::status(platform.drive.HostPath(path)).permissions();
  return (permissions & std::filesystem::perms::owner_write) == std::filesystem::perms::none;
}

constexpr LONG kWriteProtected = static_cast<LONG>(0xC00000A2);  // a refusal the table does not name

TEST(RemovalByHandles, EachCaseEndsWholeOrNotAtAll) {
  struct Case {
    const char* what;
    std::function<void(SimulatedPlatform&)> arrange;
    End end;
    std::vector<std::wstring> pending = {};  // what is left for the restart, in the system's order
    std::vector<std::wstring> left = {};     // the folders the observer heard were left
    int sleeps = 0;                     // the waits it made
    std::size_t ceiling = qvn::kHeldEntriesCeiling;
    bool inParts = false;               // it went one folder at a time
  };
  const Case cases[] = {
      {"nothing in the way", [](SimulatedPlatform&) {}, End::Removed},
      {"access denied at the claim: an access list forbids deleting a file", [](SimulatedPlatform& p) {
         p.drive.DenyOpen(kPrefs);
       }, End::StoppedNothingRemoved},
      {"a file held without delete sharing, at the claim", [](SimulatedPlatform& p) { p.drive.HoldOpen(kPrefs); },
       End::InUseNothingRemoved},
      {"a running program, at the mark: every mark undone", [](SimulatedPlatform& p) { p.drive.MapImage(kPrefs); },
       End::InUseNothingRemoved},
      {"a running read-only Quorvane.exe, which an open for reading lets through: the mark finds it",
       [](SimulatedPlatform& p) { p.drive.MapImage(kProgram); }, End::InUseNothingRemoved},
      {"a late refusal at the mark that names no use: everything undone", [](SimulatedPlatform& p) {
         // Quorvane.exe is read-only: its attribute is taken off for its mark
         // and must be back on once everything is undone.
         p.FailCall("NtSetInformationFile", 7, kWriteProtected);
       }, End::StoppedNothingRemoved},
      {"being deleted by another program: waited for, then gone", [](SimulatedPlatform& p) {
         p.pendingDeletes.insert(p.drive.HostPath(kPrefs));
         p.sharedHolds.insert(p.drive.HostPath(kPrefs));
         p.Before("Sleep", 3, [&p] { p.LetGo(kPrefs); });
       }, End::Removed, {}, {}, 3},
      {"a file swapped for a folder between the listing and the open: listed again", [](SimulatedPlatform& p) {
         p.Before("NtOpenFile", 5, [&p] {
           std::filesystem::remove(p.drive.HostPath(kPrefs));
           p.drive.AddFile(kPrefs + L"\\inside.dat");
         });
       }, End::Removed},
      {"swapped and swapped back: a failure, nothing removed", [](SimulatedPlatform& p) {
         p.Before("NtOpenFile", 5, [&p] {
           std::filesystem::remove(p.drive.HostPath(kPrefs));
           p.drive.AddFolder(kPrefs);
         });
         p.Before("NtOpenFile", 6, [&p] {
           std::filesystem::remove(p.drive.HostPath(kPrefs));
           p.drive.AddFile(kPrefs);
         });
       }, End::StoppedNothingRemoved},
      {"a folder filled meanwhile: left for the restart with what is in it", [](SimulatedPlatform& p) {
         p.Before("NtSetInformationFile", 1, [&p] { p.drive.AddFile(kData + L"\\Quorvane.exe"); });
       }, End::RemovedButLeftForRestart, {kData + L"\\Quorvane.exe", kData, kInstall}, {L"added to: " + kData}},
      {"a name that lingers past the wait: its folder is left for the restart", [](SimulatedPlatform& p) {
         p.HoldSharingDelete(kPrefs);
       }, End::RemovedButLeftForRestart, {kData, kInstall}, {L"held: " + kData}, 20},
      {"a name that lingers a moment: waited for", [](SimulatedPlatform& p) {
         p.HoldSharingDelete(kPrefs);
         p.Before("Sleep", 4, [&p] { p.LetGo(kPrefs); });
       }, End::Removed, {}, {}, 4},
      {"Windows 10: the name goes at once, with POSIX semantics", [](SimulatedPlatform& p) {
         p.RunAs(2, 10, 0);
         p.posixDeletes = true;
         p.HoldSharingDelete(kPrefs);
       }, End::Removed},
      {"more entries than are held at once: one folder at a time", [](SimulatedPlatform& p) {
         p.drive.AddFile(kData + L"\\Templates\\default.qvt");
       }, End::Removed, {}, {}, 0, 3, true},
      {"more than are held at once, a file held: the check finds it first", [](SimulatedPlatform& p) {
         p.drive.HoldOpen(std::wstring(kInstall) + L"\\Help\\manual.chm");
       }, End::InUseNothingRemoved, {}, {}, 0, 3, true},
      {"no file's identity can be read: no target is taken for another name of one before it",
       [](SimulatedPlatform& p) {
         for (int n = 1; n <= 200; ++n) p.FailCall("GetFileInformationByHandle", n, ERROR_INVALID_HANDLE);
       }, End::Removed},
      {"no room for one more open file: one folder at a time", [](SimulatedPlatform& p) {
         p.FailCall("NtOpenFile", 6, static_cast<LONG>(0xC000011F));  // STATUS_TOO_MANY_OPENED_FILES
       }, End::Removed, {}, {}, 0, qvn::kHeldEntriesCeiling, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SimulatedPlatform platform;
    LayOut(platform);
    platform.drive.AddFile(std::wstring(kInstall) + L"\\Help\\manual.chm");
    c.arrange(platform);
    qvn::ToolState state;
    qvn::InitToolState(state);
    platform.calls.clear();
    Record record;
    qvn::RemovalOptions options;
    options.observer = &record;
    options.quiet = true;
    options.ceiling = c.ceiling;
    int asked = 0;
    bool ran = false;
    bool failed = false;
    try {
      ran = qvn::RemoveWhenNotInUse(state, qvn::PlanRemoval(state), [&](const qvn::InUse& found) {
        ++asked;
        SCOPED_TRACE(Narrow(found.path));
        EXPECT_FALSE(record.marksHeld) << "a mark held across a prompt";
        EXPECT_EQ(platform.openFiles, 0) << "every handle released before the prompt";
        EXPECT_FALSE(AnythingRemoved(platform.calls));
        return qvn::InUseAnswer::Cancel;
      }, options);
    } catch (const qvn::Failure& failure) {
      failed = true;
      EXPECT_NE(failure.Description().find(L"nothing of Quorvane has been removed"), std::wstring::npos)
          << Narrow(failure.Description());
    }
    const bool removes = c.end == End::Removed || c.end == End::RemovedButLeftForRestart;
    EXPECT_EQ(ran, removes);
    EXPECT_EQ(asked, c.end == End::InUseNothingRemoved ? 1 : 0);
    EXPECT_EQ(failed, c.end == End::StoppedNothingRemoved);
    EXPECT_FALSE(record.marksHeld);
    EXPECT_EQ(platform.openFiles, 0);
    EXPECT_EQ(record.inParts, c.inParts);
    EXPECT_EQ(platform.CallCount("Sleep"), c.sleeps);
    EXPECT_EQ(qvn::DeletionsPendingAtRestart(), c.pending);
    EXPECT_EQ(record.left, c.left);
    if (removes) {
      EXPECT_FALSE(platform.drive.Exists(kShortcut) || platform.drive.Exists(kGroup) || platform.drive.Exists(kProgram));
      EXPECT_EQ(platform.drive.Exists(kInstall), c.end == End::RemovedButLeftForRestart);
      EXPECT_FALSE(platform.registry.KeyExists(kSettings));
      EXPECT_EQ(record.last.phase, qvn::RemovalProgress::Phase::Removing);
      if (c.end == End::Removed) {
        EXPECT_EQ(record.last.done, record.last.total) << "the last word: all removed";
      }
    } else {
      EXPECT_FALSE(AnythingRemoved(platform.calls));
      for (const std::wstring& path : {std::wstring(kShortcut), kGroupFile, kProgram}) {
        EXPECT_TRUE(platform.drive.Exists(path)) << Narrow(path);
      }
      EXPECT_TRUE(platform.registry.KeyExists(kSettings + "\\StartUp"));
      EXPECT_TRUE(IsReadOnly(platform, kProgram)) << "the attribute taken off for the mark is back";
    }
  }
}

// On Vista the fixed shortcut path leads through the compatibility junction
// C:\Documents and Settings to the same file as the one the shell reports in
// C:\Users\Public: one file, by volume serial number and file index, claimed
// and removed once, the second step telling whose other name it is.
TEST(RemovalByHandles, TheTwoNamesOfOneShortcutOnVistaAreOneFile) {
  SimulatedPlatform platform;
  platform.RunAs(2, 6, 0);
  platform.drive.AddFolder(L"C:\\Users\\Public\\Desktop");
  platform.drive.AddFolderLink(L"C:\\Documents and Settings\\All Users", L"C:\\Users\\Public");
  LayOut(platform);
  platform.specialFolders[0x19] = "C:\\Users\\Public\\Desktop";
  qvn::ToolState state;
  qvn::InitToolState(state);
  const qvn::RemovalPlan plan = qvn::PlanRemoval(state);
  ASSERT_EQ(plan.steps[1].target, L"C:\\Users\\Public\\Desktop\\Quorvane.lnk");
  Record record;
  qvn::RemovalOptions options;
  options.observer = &record;
  EXPECT_TRUE(qvn::RemoveWhenNotInUse(state, plan, [](const qvn::InUse&) { return qvn::InUseAnswer::Cancel; }, options));
  EXPECT_FALSE(platform.drive.Exists(L"C:\\Users\\Public\\Desktop\\Quorvane.lnk"));
  ASSERT_GE(record.steps.size(), 2u);
  EXPECT_EQ(record.steps[0].outcome, qvn::StepReport::Outcome::Removed);
  EXPECT_EQ(record.steps[1].outcome, qvn::StepReport::Outcome::Removed);
  EXPECT_EQ(record.steps[1].detail, L"another name of step 1");
  EXPECT_EQ(platform.openFiles, 0);
}

// A running Quorvane.exe is moved aside through its handle for Remove at
// Restart; when the restart's list then refuses, it must go back where it
// was. The folder it goes back into is held by the claim, which may delete
// it: Windows opens that folder for the rename sharing reading and writing
// only, so the claim's own handle refuses the way back unless it is let go.
TEST(RemovalByHandles, AFileMovedAsideGoesBackWhenTheRestartRefusesTheList) {
  SimulatedPlatform platform;
  LayOut(platform);
  platform.drive.MapImage(kProgram);
  qvn::ToolState state;
  qvn::InitToolState(state);
  const qvn::RemovalPlan plan = qvn::PlanRemoval(state);
  platform.FailCall("MoveFileExW", platform.CallCount("MoveFileExW") + 1, ERROR_ACCESS_DENIED);
  qvn::RemovalOptions options;
  options.quiet = true;
  int asked = 0;
  std::wstring failure;
  try {
    EXPECT_FALSE(qvn::RemoveWhenNotInUse(state, plan, [&](const qvn::InUse&) {
      return ++asked == 1 ? qvn::InUseAnswer::RemoveAtRestart : qvn::InUseAnswer::Cancel;
    }, options));
  } catch (const qvn::Failure& stopped) {
    failure = stopped.Description();
  }
  EXPECT_EQ(failure, L"");
  EXPECT_TRUE(platform.drive.Exists(kProgram)) << "Quorvane.exe was left in the folder aside";
  EXPECT_FALSE(AnythingRemoved(platform.calls));
}

}  // namespace
