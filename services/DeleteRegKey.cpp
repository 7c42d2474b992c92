#include "services/DeleteRegKey.h"

#include "services/Failure.h"
#include "services/MessageBox.h"
#include "services/PlatformApi.h"
#include "services/RegKey.h"
#include "services/Text.h"

namespace qvn {
namespace {

KeyDeletion::Result ResultOf(LONG opened, LONG deleted) {
  if (opened == ERROR_FILE_NOT_FOUND || deleted == ERROR_FILE_NOT_FOUND) return KeyDeletion::Result::NotThere;
  return deleted == ERROR_SUCCESS ? KeyDeletion::Result::Deleted : KeyDeletion::Result::Refused;
}

}  // namespace

KeyDeletion DeleteRegKey(const std::wstring& keyPath, const std::wstring& subkeyName, bool quiet) {
  try {
    LONG opened = ERROR_SUCCESS;
    RegKey key = OpenLocalMachineKey(keyPath, &opened);
    const LONG deleted = api::RegDeleteKeyA(key.Get(), ToAnsi(subkeyName).c_str());
    CloseKey(key);
    return {ResultOf(opened, deleted), 0, L""};
  } catch (const Failure& failure) {
    if (!quiet) {
      ShowMessageBox(nullptr, L"Error in Registry Key delete.  Key " + keyPath, L"removeQvn", MB_OK | MB_ICONERROR);
    }
    return {KeyDeletion::Result::Failed, failure.Number(), failure.Description()};
  }
}

}  // namespace qvn
