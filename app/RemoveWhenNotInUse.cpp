#include "app/RemoveWhenNotInUse.h"

#include "app/InstallFolderGuard.h"
#include "app/RemovalPlan.h"
#include "app/RunRemoval.h"

namespace qvn {

std::vector<RemovalTarget> RemovalTargets(const ToolState& state) {
  std::vector<RemovalTarget> targets;
  for (const RemovalStep& step : RemovalPlan(state)) {
    const bool isFolder = step.second != L"file";
    if (step.action == RemovalStep::Action::DeletePath) {
      targets.push_back({step.first, isFolder});
    } else if (step.action == RemovalStep::Action::DeleteInstallFolder) {
      if (auto folder = InstallFolderToDelete(step.first)) targets.push_back({*folder, isFolder});
    }
  }
  return targets;
}

bool RemoveWhenNotInUse(ToolState& state, const AskWhenInUse& ask, const RemovalOptions& options) {
  while (auto inUse = FirstFileInUse(RemovalTargets(state))) {
    if (ask(*inUse) == InUseAnswer::Cancel) return false;
  }
  RunRemoval(state, options);
  return true;
}

}  // namespace qvn
