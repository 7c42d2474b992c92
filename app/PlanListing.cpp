#include "app/PlanListing.h"

#include "app/InstallFolderGuard.h"
#include "app/RemovalPlan.h"
#include "services/AutomationError.h"
#include "services/DecimalText.h"
#include "services/DeletePath.h"
#include "services/RegistryText.h"

namespace qvn {
namespace {

const wchar_t* Presence(bool present) { return present ? L"present" : L"not present"; }

std::wstring Describe(const RemovalStep& step, AutomationObject& fileSys) {
  const std::wstring what = step.second == L"file" ? L"delete file " : L"delete folder ";
  switch (step.action) {
    case RemovalStep::Action::DeletePath:
      return what + step.first + L": " + Presence(PathExists(fileSys, step.first, step.second));
    case RemovalStep::Action::DeleteInstallFolder: {
      const InstallFolderDecision decision = DecideInstallFolder(step.first);
      if (decision.folder) {
        return what + *decision.folder + L": " + Presence(PathExists(fileSys, *decision.folder, step.second));
      }
      if (!decision.refusedByGuard) return what + step.first + L": not present (" + decision.refusal + L")";
      return what + step.first + L": refused by the guard (" + decision.refusal + L")";
    }
    case RemovalStep::Action::DeleteRegKey:
      break;
  }
  const std::wstring key = step.second.empty() ? step.first : step.first + L"\\" + step.second;
  return L"delete key HKEY_LOCAL_MACHINE\\" + key + L": " + Presence(LocalMachineKeyExists(key));
}

}  // namespace

std::vector<std::wstring> ListPlan(const ToolState& state) {
  if (!state.FileSys) throw StandardFailure(ErrorNumber::ObjectNotSet);
  std::vector<std::wstring> lines;
  int number = 0;
  for (const RemovalStep& step : RemovalPlan(state)) {
    lines.push_back(L"Step " + DecimalText(++number) + L": " + Describe(step, *state.FileSys));
  }
  return lines;
}

}  // namespace qvn
