#include "app/RemovalPlan.h"

#include "app/OtherInstalledPrograms.h"
#include "app/Place.h"
#include "services/AutomationError.h"
#include "services/Concat.h"
#include "services/ShellFolders.h"

namespace qvn {
namespace {

const wchar_t kUninstallKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorvane";

// `name` in the shell folder the system reports, when that is a full local
// path and names another place than `fixedPath`; empty otherwise.
std::wstring ReportedPlace(ShellFolder folder, const std::wstring& name, const std::wstring& fixedPath) {
  std::wstring path = ReportedShellFolder(folder);
  if (!IsFullLocalPath(path)) return {};
  if (path.back() != L'\\') path += L'\\';
  path += name;
  PlaceReader reader;
  return reader.Read(path).IsSame(reader.Read(fixedPath)) ? std::wstring() : path;
}

// Asked once per program run: the shell is slow to load, and nothing before
// the first removal needs its answer.
void AskWhereTheShellKeepsItsFolders(ToolState& state) {
  if (state.ShellFoldersAsked) return;
  const bool ntFamily = state.VersionInfo.dwPlatformId == VER_PLATFORM_WIN32_NT;
  state.ReportedDesktopShortcut =
      ReportedPlace(ntFamily ? ShellFolder::CommonDesktop : ShellFolder::UserDesktop, L"Quorvane.lnk",
                    state.DesktopShortcut);
  state.ReportedProgramGroup =
      ReportedPlace(ntFamily ? ShellFolder::CommonPrograms : ShellFolder::UserPrograms, L"Quorvane", state.ProgramGroup);
  state.ShellFoldersAsked = true;
}

RemovalStep PathStep(RemovalStep::Kind kind, const std::wstring& path) { return {kind, path, L"", false, false, L""}; }

RemovalStep KeyStep(const wchar_t* key, const wchar_t* subkey) {
  return {RemovalStep::Kind::RegistryKey, key, subkey, false, false, L""};
}

RemovalStep InstallFolderStep(const std::wstring& location, const InstallFolderDecision& decision) {
  if (!decision.folder) return {RemovalStep::Kind::Folder, location, L"", true, decision.refusedByGuard, decision.refusal};
  RemovalStep step = PathStep(RemovalStep::Kind::Folder, *decision.folder);
  step.linkAfter = decision.link;
  return step;
}

}  // namespace

RemovalPlan PlanRemoval(ToolState& state) {
  using Kind = RemovalStep::Kind;
  AskWhereTheShellKeepsItsFolders(state);
  RemovalPlan plan;
  plan.installLocation = state.InstallLocation;
  plan.installFolder = DecideInstallFolder(state.InstallLocation);
  RefuseAFolderAnotherProgramLivesIn(plan.installFolder, state.VersionInfo.dwPlatformId == VER_PLATFORM_WIN32_NT);
  std::vector<RemovalStep>& steps = plan.steps;
  steps.push_back(PathStep(Kind::File, state.DesktopShortcut));
  if (!state.ReportedDesktopShortcut.empty()) steps.push_back(PathStep(Kind::File, state.ReportedDesktopShortcut));
  steps.push_back(PathStep(Kind::Folder, state.ProgramGroup));
  if (!state.ReportedProgramGroup.empty()) steps.push_back(PathStep(Kind::Folder, state.ReportedProgramGroup));
  steps.push_back(InstallFolderStep(state.InstallLocation, plan.installFolder));
  steps.push_back(KeyStep(kUninstallKey, L""));
  for (const wchar_t* subkey : {L"StartUp", L"printOptions", L"columnNames", L"1.2"}) {
    steps.push_back(KeyStep(kSettingsKey, subkey));
  }
  steps.push_back(KeyStep(kSettingsKey, L""));
  return plan;
}

void StopWhereNothingMayBeRemoved(const RemovalPlan& plan) {
  if (!plan.installFolder.stopsRemoval) return;
  throw StandardFailure(ErrorNumber::PathFileAccess,
                        Concat({L": the install folder is refused, so nothing of Quorvane has been removed: ",
                                plan.installFolder.refusal}))
      .WithItem(plan.installLocation);
}

std::wstring KeyTarget(const RemovalStep& step) {
  const TextPiece separator = step.subkey.empty() ? TextPiece(L"") : TextPiece(L"\\");
  return Concat({L"HKEY_LOCAL_MACHINE\\", step.target, separator, step.subkey});
}

const wchar_t* PathKindText(RemovalStep::Kind kind) { return kind == RemovalStep::Kind::File ? L"file" : L"folder"; }

}  // namespace qvn
