#include "tests/fakes/SimulatedInstallation.h"

namespace installed {

void LayOut(SimulatedPlatform& platform, const std::wstring& files) {
  platform.drive.AddFile(kShortcut);
  platform.drive.AddFile(kGroupFile);
  platform.drive.AddFile(files + L"\\Quorvane.exe", /*readOnly=*/true);
  platform.drive.AddFile(files + L"\\Data\\prefs.dat");
  platform.registry.CreateKey(kUninstall);
  for (const char* subkey : {"StartUp", "printOptions", "columnNames", "1.2"}) {
    platform.registry.CreateKey(kSettings + "\\" + subkey);
  }
  platform.registry.SetString(kSettings + "\\StartUp", "twEXE", "C:\\Program Files\\Quorvane\\");
  platform.registry.CreateKey(kVendor + "\\OtherProduct");
}

bool AnythingRemoved(const std::vector<std::wstring>& calls) {
  for (const std::wstring& call : calls) {
    for (const wchar_t* removal : {L"DeleteF", L"RegDeleteKeyA", L"deleted "}) {
      if (call.rfind(removal, 0) == 0) return true;
    }
  }
  return false;
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

}  // namespace installed
