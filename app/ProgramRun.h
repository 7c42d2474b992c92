#pragma once
#include <string>

#include "services/FunctionRef.h"

namespace qvn {

class RemovalLog;

// The interactive program: the main window and what follows it, with the log
// when there is one. Answers whether it ended without a failure.
using ShowWindows = FunctionRef<bool(RemovalLog* log)>;

// Runs what the full command line `commandLine` asks: the windows (no
// switch), the unattended removal (/S), the list of steps (/WHATIF) or the
// list of switches (/?), with a log when /LOG names one. The system's own
// error boxes are turned off before anything else. A run without windows
// decides its start-up and its plan once, and that one plan serves the check
// of the log's place, the run and the log. Returns the exit code.
int RunProgram(const std::wstring& commandLine, const ShowWindows& showWindows);

}  // namespace qvn
