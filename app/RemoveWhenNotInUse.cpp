#include "app/RemoveWhenNotInUse.h"

#include "app/InstallFolderGuard.h"
#include "app/ProgramsInTargets.h"
#include "app/RunRemoval.h"
#include "services/AutomationError.h"
#include "services/ProgramPlace.h"
#include "services/RemoveFolderLink.h"

namespace qvn {
namespace {

bool FoldersCanBeHeld(const ToolState& state) { return state.VersionInfo.dwPlatformId == VER_PLATFORM_WIN32_NT; }

// Started from inside the install folder (an uninstaller kept beside the
// program, a double-click there), the program's own current folder would hold
// that folder, and every check would find it in use: it moves out first. Its
// own file cannot be removed while it runs: nothing is removed then, and the
// user is told to run it from elsewhere.
void StandOutsideTheTargets(const std::vector<RemovalTarget>& targets) {
  const std::wstring self = ProgramFile();
  if (!self.empty() && LiesInTargets(self, targets)) {
    throw StandardFailure(ErrorNumber::PathFileAccess,
                          L": QvnRemove runs from inside what it removes, so nothing has been removed; copy it to "
                          L"another folder and run it from there")
        .WithItem(self);
  }
  if (LiesInTargets(CurrentFolder(), targets)) MoveToWindowsFolder();
}

}  // namespace

std::vector<RemovalTarget> RemovalTargets(const RemovalPlan& plan) {
  std::vector<RemovalTarget> targets;
  for (const RemovalStep& step : plan.steps) {
    if (step.kind == RemovalStep::Kind::RegistryKey || step.skipped) continue;
    targets.push_back({step.target, step.kind == RemovalStep::Kind::Folder});
  }
  return targets;
}

bool LiesInTargets(const std::wstring& path, const std::vector<RemovalTarget>& targets) {
  for (const RemovalTarget& target : targets) {
    if (!target.isFolder) {
      if (IsSamePlace(path, target.path)) return true;
    } else if (LiesIn(path, target.path) || LiesInByIdentity(path, target.path)) {
      return true;
    }
  }
  return false;
}

TargetSurvey FolderLinksIn(const RemovalPlan& plan) {
  return SurveyTargets(RemovalTargets(plan), /*lookForUse=*/false, /*foldersCanBeHeld=*/false);
}

bool RemoveWhenNotInUse(ToolState& state, const RemovalPlan& plan, const AskWhenInUse& ask,
                        const RemovalOptions& options) {
  const std::vector<RemovalTarget> targets = RemovalTargets(plan);
  StandOutsideTheTargets(targets);
  const bool ntFamily = FoldersCanBeHeld(state);
  TargetSurvey survey = SurveyTargets(targets, true, ntFamily);
  while (survey.inUse) {
    const InUse found{*survey.inUse, ProgramsInTargets(targets, ntFamily)};
    const InUseAnswer answer = ask(found);
    if (answer == InUseAnswer::Cancel) return false;
    if (answer == InUseAnswer::RemoveAtRestart) return false;  // nothing is scheduled yet: as Cancel
    if (answer == InUseAnswer::ClosePrograms) ClosePrograms(found.programs, options.observer);
    survey = SurveyTargets(targets, true, ntFamily);
  }
  for (const std::wstring& link : survey.folderLinks) {
    RemoveFolderLink(link);
    if (options.observer != nullptr) options.observer->LinkRemoved(link);
  }
  RunRemoval(state, plan, options);
  return true;
}

}  // namespace qvn
