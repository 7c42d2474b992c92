#include "services/RegKey.h"

#include "services/PlatformApi.h"
#include "services/Text.h"

namespace qvn {

RegKey RegKey::OpenLocalMachine(const std::wstring& path) {
  HKEY handle = nullptr;
  api::RegOpenKeyExA(HKEY_LOCAL_MACHINE, ToAnsi(path).c_str(), 0, kAccess, &handle);
  return RegKey(handle);
}

RegKey::RegKey(RegKey&& other) noexcept : handle_(other.handle_), open_(other.open_) {
  other.open_ = false;
}

RegKey::~RegKey() {
  if (!open_ || handle_ == nullptr) return;
  try {
    Close();
  } catch (...) {
    // Leaving through another failure already; the handle cannot be closed.
  }
}

void RegKey::Close() {
  if (!open_) return;
  open_ = false;
  api::RegCloseKey(handle_);
}

}  // namespace qvn
