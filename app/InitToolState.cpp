#include "app/InitToolState.h"

#include "app/ClassifyPlatform.h"
#include "app/InstallFolderGuard.h"
#include "app/InstallLocation.h"
#include "services/Binder.h"
#include "services/ReadRegValue.h"
#include "services/ShellFolders.h"
#include "services/VersionQuery.h"

namespace qvn {
namespace {

// `name` in the shell folder the system reports, when that is a full local
// path and names another place than `fixedPath`; empty otherwise.
std::wstring ReportedPlace(ShellFolder folder, const std::wstring& name, const std::wstring& fixedPath) {
  std::wstring path = ReportedShellFolder(folder);
  if (!IsFullLocalPath(path)) return {};
  if (path.back() != L'\\') path += L'\\';
  path += name;
  return IsSamePlace(path, fixedPath) ? std::wstring() : path;
}

}  // namespace

StartupTexts InitToolState(ToolState& state) {
  state.FileSys = CurrentBinder().CreateObject(L"Scripting.FileSystemObject");
  state.ProductKey = kSettingsKey;

  QueryVersion(state.VersionInfo);
  const OSVERSIONINFOA& version = state.VersionInfo;
  PlatformLayout layout = ClassifyPlatform(version.dwPlatformId, static_cast<std::int32_t>(version.dwMajorVersion),
                                           static_cast<std::int32_t>(version.dwMinorVersion), version.dwBuildNumber);
  state.DesktopShortcut = layout.desktopShortcut;
  state.ProgramGroup = layout.programGroup;
  const bool ntFamily = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
  state.ReportedDesktopShortcut =
      ReportedPlace(ntFamily ? ShellFolder::CommonDesktop : ShellFolder::UserDesktop, L"Quorvane.lnk",
                    state.DesktopShortcut);
  state.ReportedProgramGroup =
      ReportedPlace(ntFamily ? ShellFolder::CommonPrograms : ShellFolder::UserPrograms, L"Quorvane", state.ProgramGroup);

  state.InstallLocation = InstallLocationFrom(ReadRegValue(state.ProductKey, L"StartUp", L"twEXE"));
  return {layout.osLabel, state.InstallLocation};
}

}  // namespace qvn
