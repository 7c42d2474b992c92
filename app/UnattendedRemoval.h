#pragma once
#include "app/ExitCode.h"
#include "app/RemovalLog.h"

namespace qvn {

// The removal for /S: the same start-up, in-use check and removal as the
// windows run, with no window and no message box, ever. A file in use ends it
// with nothing removed; a registry failure is recorded, not shown, and the
// removal goes on; with `restart` it asks for the restart exactly as the
// completion window's button does. Every event goes to `log` when there is one.
RunEnding RunUnattended(bool restart, RemovalLog* log);

}  // namespace qvn
