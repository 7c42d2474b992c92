#pragma once
#include <string>

#include "services/PlatformTypes.h"

namespace qvn {

// Shows a message box and waits until the user dismisses it. Without an owner
// window it is task-modal: the tool's windows take no input meanwhile, so a
// button cannot start another run under the box.
// Returns the button the user pressed (IDOK, IDRETRY, IDCANCEL...).
int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& title, UINT style);

}  // namespace qvn
