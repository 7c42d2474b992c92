#include "app/InitToolState.h"

#include "app/ClassifyPlatform.h"
#include "app/InstallLocation.h"
#include "services/Binder.h"
#include "services/ReadRegValue.h"
#include "services/VersionQuery.h"

namespace qvn {

StartupTexts InitToolState(ToolState& state) {
  QueryVersion(state.VersionInfo);
  const OSVERSIONINFOA& version = state.VersionInfo;
  // The NT family removes by handles; only 95/98/ME delete through the
  // scripting object, and cannot start without it.
  if (version.dwPlatformId != VER_PLATFORM_WIN32_NT) {
    state.FileSys = CurrentBinder().CreateObject(L"Scripting.FileSystemObject");
  }
  // Made, then moved in: assigning the characters themselves is the one use
  // of the library's general replace routine, a kilobyte of code.
  state.ProductKey = std::wstring(kSettingsKey);

  PlatformLayout layout = ClassifyPlatform(version.dwPlatformId, static_cast<std::int32_t>(version.dwMajorVersion),
                                           static_cast<std::int32_t>(version.dwMinorVersion), version.dwBuildNumber);
  state.DesktopShortcut = layout.desktopShortcut;
  state.ProgramGroup = layout.programGroup;

  state.InstallLocation = InstallLocationFrom(ReadRegValue(state.ProductKey, L"StartUp", L"twEXE"));
  return {layout.osLabel, state.InstallLocation};
}

}  // namespace qvn
