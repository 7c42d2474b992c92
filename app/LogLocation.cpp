#include "app/LogLocation.h"

#include "app/InitToolState.h"
#include "app/InstallFolderGuard.h"
#include "app/RemoveWhenNotInUse.h"
#include "services/Failure.h"

namespace qvn {

bool LogLiesInRemovalTargets(const std::wstring& logPath) {
  ToolState state;
  try {
    InitToolState(state);
    for (const RemovalTarget& target : RemovalTargets(PlanRemoval(state))) {
      if (target.isFolder ? LiesIn(logPath, target.path) : IsSamePlace(logPath, target.path)) return true;
    }
  } catch (const Failure&) {
    // The run's own start-up meets this again and reports it.
  }
  return false;
}

}  // namespace qvn
