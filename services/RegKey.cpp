#include "services/RegKey.h"

#include "services/PlatformApi.h"
#include "services/Text.h"

namespace qvn {
namespace {

RegKey OpenKey(HKEY root, const std::wstring& path, REGSAM access, LONG* result = nullptr) {
  RegKey key;
  const LONG opened = api::RegOpenKeyExA(root, ToAnsi(path).c_str(), 0, access, key.Receive());
  if (result != nullptr) *result = opened;
  return key;
}

}  // namespace

void CloseRegKey::operator()(HKEY key) const { api::RegCloseKey(key); }

RegKey OpenLocalMachineKey(const std::wstring& path, LONG* result) {
  return OpenKey(HKEY_LOCAL_MACHINE, path, kToolKeyAccess, result);
}

RegKey OpenKeyForReading(HKEY root, const std::wstring& path, REGSAM view) {
  return OpenKey(root, path, KEY_READ | view);
}

void CloseKey(RegKey& key) { api::RegCloseKey(key.Release()); }

}  // namespace qvn
