#include "app/InitToolState.h"

#include "app/ClassifyPlatform.h"
#include "app/InstallLocation.h"
#include "services/Binder.h"
#include "services/ReadRegValue.h"
#include "services/VersionQuery.h"

namespace qvn {

StartupTexts InitToolState(ToolState& state) {
  state.FileSys = CurrentBinder().CreateObject(L"Scripting.FileSystemObject");
  // Made, then moved in: assigning the characters themselves is the one use
  // of the library's general replace routine, a kilobyte of code.
  state.ProductKey = std::wstring(kSettingsKey);

  QueryVersion(state.VersionInfo);
  const OSVERSIONINFOA& version = state.VersionInfo;
  PlatformLayout layout = ClassifyPlatform(version.dwPlatformId, static_cast<std::int32_t>(version.dwMajorVersion),
                                           static_cast<std::int32_t>(version.dwMinorVersion), version.dwBuildNumber);
  state.DesktopShortcut = layout.desktopShortcut;
  state.ProgramGroup = layout.programGroup;

  state.InstallLocation = InstallLocationFrom(ReadRegValue(state.ProductKey, L"StartUp", L"twEXE"));
  return {layout.osLabel, state.InstallLocation};
}

}  // namespace qvn
