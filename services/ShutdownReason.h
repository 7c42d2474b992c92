#pragma once
#include <string>

#include "services/PlatformTypes.h"

namespace qvn {

// While a program refuses to let the session end, Vista and later show the
// user why on the shutdown screen, beside the program's window. Windows
// before Vista have no such screen and no such call: nothing is done there.
// A reason the system does not take changes nothing else.
void GiveShutdownReason(HWND window, const std::wstring& reason);
void WithdrawShutdownReason(HWND window);

}  // namespace qvn
