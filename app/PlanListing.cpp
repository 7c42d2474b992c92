#include "app/PlanListing.h"

#include "app/RemovalTargets.h"
#include "services/AutomationError.h"
#include "services/Concat.h"
#include "services/DecimalText.h"
#include "services/DeletePath.h"
#include "services/FileCalls.h"
#include "services/RegistryText.h"

namespace qvn {
namespace {

TextPiece Presence(bool present) { return present ? TextPiece(L"present") : TextPiece(L"not present"); }

// Whether the file or folder of the step is there: on the NT family asked of
// the system by its wide name, on 95/98/ME of the scripting object.
bool PathPresent(const RemovalStep& step, const ToolState& state) {
  if (!state.FileSys) {
    const DWORD attributes = FileCalls(true).Attributes(step.target);
    const bool isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return attributes != INVALID_FILE_ATTRIBUTES && isFolder == (step.kind == RemovalStep::Kind::Folder);
  }
  return PathExists(*state.FileSys, step.target, PathKindText(step.kind));
}

std::wstring Describe(const RemovalStep& step, const ToolState& state, bool stopsRemoval) {
  if (step.kind == RemovalStep::Kind::RegistryKey) {
    const std::wstring key = step.subkey.empty() ? step.target : Concat({step.target, L"\\", step.subkey});
    return Concat({L"delete key ", KeyTarget(step), L": ", Presence(LocalMachineKeyExists(key))});
  }
  const TextPiece what = step.kind == RemovalStep::Kind::File ? TextPiece(L"delete file ") : TextPiece(L"delete folder ");
  if (!step.skipped) {
    return Concat({what, step.target, L": ", Presence(PathPresent(step, state))});
  }
  const TextPiece verdict = stopsRemoval       ? TextPiece(L": refused by the guard, so nothing would be removed (")
                           : step.refusedByGuard ? TextPiece(L": refused by the guard (")
                                                 : TextPiece(L": not present (");
  return Concat({what, step.target, verdict, step.skipReason, L")"});
}

}  // namespace

std::vector<std::wstring> ListPlan(const ToolState& state, const RemovalPlan& plan) {
  const bool ntFamily = state.VersionInfo.dwPlatformId == VER_PLATFORM_WIN32_NT;
  if (!ntFamily && !state.FileSys) throw StandardFailure(ErrorNumber::ObjectNotSet);
  std::vector<std::wstring> lines;
  const InstallFolderDecision& decision = plan.installFolder;
  if (decision.stopsRemoval) {
    lines.push_back(Concat({L"Nothing would be removed: the install folder ", plan.installLocation, L" is refused: ",
                            decision.refusal}));
  }
  for (const std::wstring& link : FolderLinksIn(plan, ntFamily).folderLinks) {
    lines.push_back(Concat({L"Before step 1: remove folder link ", link, L" by itself, not following it"}));
  }
  int number = 0;
  for (const RemovalStep& step : plan.steps) {
    const std::wstring at = DecimalText(++number);
    lines.push_back(Concat({L"Step ", at, L": ", Describe(step, state, plan.installFolder.stopsRemoval)}));
    if (!step.linkAfter.empty()) {
      lines.push_back(Concat({L"After step ", at, L": remove folder link ", step.linkAfter,
                              L" by itself, once the folder it leads to is gone"}));
    }
  }
  return lines;
}

}  // namespace qvn
