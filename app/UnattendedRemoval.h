#pragma once
#include "app/ExitCode.h"
#include "app/RemovalLog.h"

namespace qvn {

// The removal for /S: the same start-up, in-use check and removal as the
// windows run, with no window and no message box, ever. Something in use ends
// it with nothing removed; a registry failure is recorded, not shown, and the
// removal goes on, but the run ends as failed. With `restart`, a removal that
// took something away and ran to its end asks for the restart exactly as the
// completion window's button does; any other run never restarts. Every event
// goes to `log` when there is one. With `closePrograms` (/CLOSEAPPLICATIONS),
// running programs inside what is removed are asked to close once before the
// run gives up for something in use.
RunEnding RunUnattended(bool restart, RemovalLog* log, bool closePrograms = false);

}  // namespace qvn
