#pragma once
#include "app/CommandLine.h"
#include "services/FunctionRef.h"
#include "services/PlatformTypes.h"
#include "services/RemovalTurn.h"

namespace qvn {

class RemovalLog;

// Whether the command line asks for a removal without windows (/S), which
// holds the removal's turn from its start to its end. /WHATIF and /? remove
// nothing and ask for no turn; the windows ask at each Start, so that a main
// window left open holds nothing.
bool RemovesUnattended(const CommandLine& line);

// Tells `log`, when there is one, what became of the request for the turn:
// another run has it, or the run before ended holding it. Says nothing of a
// turn simply taken.
void LogTurn(const RemovalTurn& turn, RemovalLog* log);

// The Start of the windows: `remove` runs while this program has the
// removal's turn, a prompt about something in use included, and the turn goes
// back when it returns. When another run has the turn, a message box owned by
// `owner` says so and nothing is removed. Returns what `remove` returned;
// false when it did not run.
bool RemoveInTurn(HWND owner, RemovalLog* log, const FunctionRef<bool()>& remove);

}  // namespace qvn
