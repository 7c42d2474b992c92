#include "app/RemovalPlan.h"

namespace qvn {
namespace {

const wchar_t kUninstallKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorvane";

}  // namespace

std::vector<RemovalStep> RemovalPlan(const ToolState& state) {
  using Action = RemovalStep::Action;
  return {
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
}

}  // namespace qvn
