#include "app/RunRemoval.h"

#include "app/InstallFolderGuard.h"
#include "app/RemovalPlan.h"
#include "services/AutomationError.h"
#include "services/DeletePath.h"
#include "services/DeleteRegKey.h"
#include "services/Failure.h"

namespace qvn {
namespace {

void DeleteNamedPath(AutomationObject& fileSys, const std::wstring& path, const std::wstring& kind) {
  try {
    DeletePath(fileSys, path, kind);
  } catch (Failure& failure) {
    throw failure.WithItem(path);
  }
}

void Perform(const RemovalStep& step, AutomationObject& fileSys) {
  switch (step.action) {
    case RemovalStep::Action::DeletePath:
      DeleteNamedPath(fileSys, step.first, step.second);
      break;
    case RemovalStep::Action::DeleteInstallFolder:
      if (auto folder = InstallFolderToDelete(step.first)) DeleteNamedPath(fileSys, *folder, step.second);
      break;
    case RemovalStep::Action::DeleteRegKey:
      DeleteRegKey(step.first, step.second);
      break;
  }
}

}  // namespace

void RunRemoval(ToolState& state) {
  if (!state.FileSys) throw StandardFailure(ErrorNumber::ObjectNotSet);
  for (const RemovalStep& step : RemovalPlan(state)) Perform(step, *state.FileSys);
}

}  // namespace qvn
