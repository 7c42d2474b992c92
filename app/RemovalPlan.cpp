#include "app/RemovalPlan.h"

namespace qvn {
namespace {

const wchar_t kUninstallKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorvane";

}  // namespace

std::vector<RemovalStep> RemovalPlan(const ToolState& state) {
  using Action = RemovalStep::Action;
  std::vector<RemovalStep> plan = {
      {Action::DeletePath, state.DesktopShortcut, L"file"},
      {Action::DeletePath, state.ProgramGroup, L"folder"},
      {Action::DeleteInstallFolder, state.InstallLocation, L"folder"},
      {Action::DeleteRegKey, kUninstallKey, L""},
      {Action::DeleteRegKey, kSettingsKey, L"StartUp"},
      {Action::DeleteRegKey, kSettingsKey, L"printOptions"},
      {Action::DeleteRegKey, kSettingsKey, L"columnNames"},
      {Action::DeleteRegKey, kSettingsKey, L"1.2"},
      {Action::DeleteRegKey, kSettingsKey, L""},
  };
  // Where the running system keeps the shortcut and group, each right after
  // its fixed path.
  if (!state.ReportedProgramGroup.empty()) {
    plan.insert(plan.begin() + 2, {Action::DeletePath, state.ReportedProgramGroup, L"folder"});
  }
  if (!state.ReportedDesktopShortcut.empty()) {
    plan.insert(plan.begin() + 1, {Action::DeletePath, state.ReportedDesktopShortcut, L"file"});
  }
  return plan;
}

}  // namespace qvn
