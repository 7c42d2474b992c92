#include "app/InterruptedRuns.h"

#include <algorithm>

#include "app/HeldSteps.h"
#include "app/LeaveHeldForRestart.h"
#include "app/RemoveAtRestart.h"
#include "services/AsideFolder.h"
#include "services/AutomationError.h"
#include "services/Concat.h"
#include "services/DecimalText.h"
#include "services/DeleteAtRestart.h"
#include "services/FileCalls.h"
#include "services/FilesInUse.h"
#include "services/MarkTree.h"

namespace qvn {
namespace {

using Outcome = LeftoverReport::Outcome;

struct Unfinished {
  std::wstring folder;
  TargetSurvey survey;  // what in it is in use, and what cannot be walked
};

// The marked folders beside the install folder that no run listed whole for
// the restart (a run lists the folder last, after everything in it).
std::vector<Unfinished> FindUnfinished(const ToolState& state, const RemovalPlan& plan) {
  std::vector<Unfinished> found;
  if (state.VersionInfo.dwPlatformId != VER_PLATFORM_WIN32_NT || !plan.installFolder.folder) return found;
  for (const std::wstring& folder : MarkedFoldersBeside(*plan.installFolder.folder)) {
    const std::vector<RemovalTarget> whole = {{folder, true}};
    if (!AlreadyPendingAtRestart(whole, true).empty()) continue;
    found.push_back({folder, SurveyTargets(whole, /*lookForUse=*/true, /*ntFamily=*/true)});
  }
  return found;
}

// Why a folder cannot be finished without risk; empty when it can.
std::wstring Obstacle(const TargetSurvey& survey) {
  if (survey.unlisted) return Concat({L"a folder in it cannot be listed: ", *survey.unlisted});
  if (!survey.folderLinks.empty()) return Concat({L"it holds a folder link: ", survey.folderLinks.front()});
  return L"";
}

// Everything in `folder`, each folder after what is in it, then `folder`
// itself: the order in which the restart can delete them.
// Everything in `folder`, each folder after what is in it, then `folder`
// itself: the order in which the restart can delete them. Answers the first
// folder that cannot be listed, empty when each could: listing a folder
// whose entries were not seen would leave it for good, since the restart
// removes only an empty folder.
std::wstring CollectForRestart(const FileCalls& files, const std::wstring& folder, std::vector<RemovalTarget>& entries) {
  std::wstring unlisted;
  const DWORD error = files.List(folder, [&](const std::wstring& name, DWORD attributes) {
    const std::wstring path = Concat({folder, L"\\", name});
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      unlisted = CollectForRestart(files, path, entries);
    } else {
      entries.push_back({path, false});
    }
    return unlisted.empty();
  });
  if (unlisted.empty() && error != ERROR_NO_MORE_FILES) unlisted = folder;
  entries.push_back({folder, true});
  return unlisted;
}

LeftoverReport ListForRestart(const std::wstring& folder, RemovalObserver* observer) {
  std::vector<RemovalTarget> entries;
  const std::wstring unlisted = CollectForRestart(FileCalls(/*wide=*/true), folder, entries);
  if (!unlisted.empty()) {
    return {folder, Outcome::NotFinished, Concat({L"a folder in it cannot be listed: ", unlisted})};
  }
  const std::vector<RemovalTarget> listed = AlreadyPendingAtRestart(entries, true);
  for (const RemovalTarget& entry : entries) {
    const bool already = std::any_of(listed.begin(), listed.end(), [&](const RemovalTarget& l) { return l.path == entry.path; });
    if (already) continue;
    // By its exact name: a moved-aside "notes." or a long path is listed as it is.
    const DWORD error = ScheduleDeletionAtRestart(LongForm(AsNamedAtBoot(entry.path)));
    if (error != ERROR_SUCCESS) {
      return {folder, Outcome::NotFinished,
              Concat({L"Windows would not remove ", entry.path, L" at restart, error ",
                      DecimalText(static_cast<std::int32_t>(error))})};
    }
    if (observer != nullptr) observer->PendingAtRestart(entry.path, /*whereItIs=*/false);
  }
  return {folder, Outcome::LeftForRestart, L""};
}

// Removes the folder as Quorvane's own files are removed: every entry in it
// claimed and marked before any goes; true when something in it stays.
// Whatever it answers, it holds nothing once it returns: what stays is
// listed for the restart by walking the folder, which the claim's holds
// could refuse.
bool RemoveWholeOrKeep(const ToolState& state, const std::wstring& folder, RemovalObserver* observer,
                       std::wstring& obstacle) {
  ProgressToObserver progress(observer);
  HeldTree tree(state.VersionInfo.dwMajorVersion >= 5, &progress);
  const ClaimResult claim = ClaimTargets(tree, {{folder, true}});
  if (claim.overCeiling) {
    obstacle = L"it holds more files and folders than are held open at once";
    return true;
  }
  if (!claim.unconfirmedLinks.empty()) {
    obstacle = Concat({L"it holds a folder link: ", claim.unconfirmedLinks.front()});
    return true;
  }
  if (!claim.inUse.empty() || !MarkTree(tree).empty()) return true;  // the tree undoes every mark
  CloseMarked(tree);
  const std::size_t root = claim.roots.front();
  return root != kNoEntry && !RemoveFolders(tree, root).empty();
}

LeftoverReport RemoveWhole(const ToolState& state, const std::wstring& folder, RemovalObserver* observer) {
  std::wstring obstacle;
  if (!RemoveWholeOrKeep(state, folder, observer, obstacle)) return {folder, Outcome::Removed, L""};
  if (!obstacle.empty()) return {folder, Outcome::NotFinished, obstacle};
  return ListForRestart(folder, observer);
}

LeftoverReport Finish(const ToolState& state, const Unfinished& left, RemovalObserver* observer) {
  const std::wstring obstacle = Obstacle(left.survey);
  if (!obstacle.empty()) return {left.folder, Outcome::NotFinished, obstacle};
  if (!left.survey.inUse.empty()) return ListForRestart(left.folder, observer);
  try {
    return RemoveWhole(state, left.folder, observer);
  } catch (const Failure& failure) {
    return {left.folder, Outcome::NotFinished,
            Concat({L"error ", DecimalText(failure.Number()), L": ", failure.Description()})};
  }
}

}  // namespace

void FinishInterruptedRuns(const ToolState& state, const RemovalPlan& plan, RemovalObserver* observer) {
  for (const Unfinished& left : FindUnfinished(state, plan)) {
    const LeftoverReport report = Finish(state, left, observer);
    if (observer != nullptr) observer->InterruptedRunFinished(report);
  }
}

std::vector<std::wstring> ListInterruptedRuns(const ToolState& state, const RemovalPlan& plan) {
  std::vector<std::wstring> lines;
  for (const Unfinished& left : FindUnfinished(state, plan)) {
    const std::wstring obstacle = Obstacle(left.survey);
    const std::wstring what = !obstacle.empty()           ? Concat({L"would not be finished (", obstacle, L"): "})
                              : left.survey.inUse.empty() ? std::wstring(L"would be removed: ")
                                                          : std::wstring(L"still in use, would be left for the restart: ");
    lines.push_back(Concat({L"Left by an interrupted run, ", what, left.folder}));
  }
  return lines;
}

}  // namespace qvn
