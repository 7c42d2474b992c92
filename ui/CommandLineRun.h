#pragma once
#include "services/PlatformTypes.h"

namespace qvn {

// Reads the command line and runs what it asks: the windows (no switch), the
// unattended removal (/S), the list of steps (/WHATIF) or the list of
// switches (/?), with a log when /LOG names one. Returns the exit code.
int RunFromCommandLine(HINSTANCE instance);

}  // namespace qvn
