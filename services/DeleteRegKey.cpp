#include "services/DeleteRegKey.h"

#include "services/Concat.h"
#include "services/Failure.h"
#include "services/MessageBox.h"
#include "services/PlatformApi.h"
#include "services/RegKey.h"
#include "services/Text.h"

namespace qvn {
namespace {

// Whether the key at `path` still has a subkey. Read access is enough, so this
// answers for a user who may not delete it.
bool HasSubkeys(const std::wstring& path) {
  RegKey key = OpenKeyForReading(HKEY_LOCAL_MACHINE, path);
  char name[256];  // a key name is at most 255 characters
  DWORD nameChars = sizeof name;
  const LONG found = api::RegEnumKeyExA(key.Get(), 0, name, &nameChars, nullptr, nullptr, nullptr, nullptr);
  CloseKey(key);
  return found == ERROR_SUCCESS || found == ERROR_MORE_DATA;
}

KeyDeletion Refused(LONG answer) {
  return {KeyDeletion::Result::Refused, answer, answer == ERROR_ACCESS_DENIED ? L"access denied" : L"refused"};
}

// The NT family answers a key that still has subkeys with the same "access
// denied" as a user without the right to delete it; only the first is by design.
KeyDeletion Refusal(LONG answer, const std::wstring& keyPath, const std::wstring& subkeyName) {
  const std::wstring path = subkeyName.empty() ? keyPath : Concat({keyPath, L"\\", subkeyName});
  if (HasSubkeys(path)) return {KeyDeletion::Result::SubkeysLeft, 0, L""};
  return Refused(answer);
}

KeyDeletion ResultOf(LONG opened, LONG deleted, const std::wstring& keyPath, const std::wstring& subkeyName) {
  if (opened == ERROR_FILE_NOT_FOUND || deleted == ERROR_FILE_NOT_FOUND) return {KeyDeletion::Result::NotThere, 0, L""};
  if (opened != ERROR_SUCCESS) return Refused(opened);
  if (deleted == ERROR_SUCCESS) return {KeyDeletion::Result::Deleted, 0, L""};
  return Refusal(deleted, keyPath, subkeyName);
}

}  // namespace

KeyDeletion DeleteRegKey(const std::wstring& keyPath, const std::wstring& subkeyName, bool quiet) {
  try {
    LONG opened = ERROR_SUCCESS;
    RegKey key = OpenLocalMachineKey(keyPath, &opened);
    const LONG deleted = api::RegDeleteKeyA(key.Get(), ToAnsi(subkeyName).c_str());
    CloseKey(key);
    return ResultOf(opened, deleted, keyPath, subkeyName);
  } catch (const Failure& failure) {
    if (!quiet) {
      ShowMessageBox(nullptr, Concat({L"Error in Registry Key delete.  Key ", keyPath}), L"removeQvn", MB_OK | MB_ICONERROR);
    }
    return {KeyDeletion::Result::Failed, failure.Number(), failure.Description()};
  }
}

}  // namespace qvn
