#include "services/MessageBox.h"

#include "services/PlatformApi.h"
#include "services/Text.h"

namespace qvn {

int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& title, UINT style) {
  if (owner == nullptr) style |= MB_TASKMODAL;
  return api::MessageBoxA(owner, ToAnsi(text).c_str(), ToAnsi(title).c_str(), style);
}

}  // namespace qvn
