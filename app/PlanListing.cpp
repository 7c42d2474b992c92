#include "app/PlanListing.h"

#include "app/RemovalTargets.h"
#include "services/AutomationError.h"
#include "services/DecimalText.h"
#include "services/DeletePath.h"
#include "services/RegistryText.h"

namespace qvn {
namespace {

const wchar_t* Presence(bool present) { return present ? L"present" : L"not present"; }

std::wstring Describe(const RemovalStep& step, AutomationObject& fileSys) {
  if (step.kind == RemovalStep::Kind::RegistryKey) {
    const std::wstring key = step.subkey.empty() ? step.target : step.target + L"\\" + step.subkey;
    return L"delete key " + KeyTarget(step) + L": " + Presence(LocalMachineKeyExists(key));
  }
  const std::wstring what = step.kind == RemovalStep::Kind::File ? L"delete file " : L"delete folder ";
  if (!step.skipped) return what + step.target + L": " + Presence(PathExists(fileSys, step.target, PathKindText(step.kind)));
  if (!step.refusedByGuard) return what + step.target + L": not present (" + step.skipReason + L")";
  return what + step.target + L": refused by the guard (" + step.skipReason + L")";
}

}  // namespace

std::vector<std::wstring> ListPlan(const ToolState& state, const RemovalPlan& plan) {
  if (!state.FileSys) throw StandardFailure(ErrorNumber::ObjectNotSet);
  std::vector<std::wstring> lines;
  for (const std::wstring& link : FolderLinksIn(plan, state.VersionInfo.dwPlatformId == VER_PLATFORM_WIN32_NT).folderLinks) {
    lines.push_back(L"Before step 1: remove folder link " + link + L" by itself, not following it");
  }
  int number = 0;
  for (const RemovalStep& step : plan.steps) {
    lines.push_back(L"Step " + DecimalText(++number) + L": " + Describe(step, *state.FileSys));
  }
  return lines;
}

}  // namespace qvn
