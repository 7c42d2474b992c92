#include "app/RemoveWhenNotInUse.h"

#include "app/RunRemoval.h"
#include "services/RemoveFolderLink.h"

namespace qvn {
namespace {

bool FoldersCanBeHeld(const ToolState& state) { return state.VersionInfo.dwPlatformId == VER_PLATFORM_WIN32_NT; }

}  // namespace

std::vector<RemovalTarget> RemovalTargets(const RemovalPlan& plan) {
  std::vector<RemovalTarget> targets;
  for (const RemovalStep& step : plan.steps) {
    if (step.kind == RemovalStep::Kind::RegistryKey || step.skipped) continue;
    targets.push_back({step.target, step.kind == RemovalStep::Kind::Folder});
  }
  return targets;
}

TargetSurvey FolderLinksIn(const RemovalPlan& plan) {
  return SurveyTargets(RemovalTargets(plan), /*lookForUse=*/false, /*foldersCanBeHeld=*/false);
}

bool RemoveWhenNotInUse(ToolState& state, const RemovalPlan& plan, const AskWhenInUse& ask,
                        const RemovalOptions& options) {
  const std::vector<RemovalTarget> targets = RemovalTargets(plan);
  TargetSurvey survey = SurveyTargets(targets, true, FoldersCanBeHeld(state));
  while (survey.inUse) {
    if (ask(*survey.inUse) == InUseAnswer::Cancel) return false;
    survey = SurveyTargets(targets, true, FoldersCanBeHeld(state));
  }
  for (const std::wstring& link : survey.folderLinks) {
    RemoveFolderLink(link);
    if (options.observer != nullptr) options.observer->LinkRemoved(link);
  }
  RunRemoval(state, plan, options);
  return true;
}

}  // namespace qvn
