#include "services/DeleteRegKey.h"

#include "services/Failure.h"
#include "services/MessageBox.h"
#include "services/PlatformApi.h"
#include "services/RegKey.h"
#include "services/Text.h"

namespace qvn {

void DeleteRegKey(const std::wstring& keyPath, const std::wstring& subkeyName) {
  try {
    RegKey key = OpenLocalMachineKey(keyPath);
    api::RegDeleteKeyA(key.Get(), ToAnsi(subkeyName).c_str());
    CloseKey(key);
  } catch (const Failure&) {
    ShowMessageBox(nullptr, L"Error in Registry Key delete.  Key " + keyPath, L"removeQvn", MB_OK | MB_ICONERROR);
  }
}

}  // namespace qvn
