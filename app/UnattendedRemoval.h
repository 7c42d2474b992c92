#pragma once
#include <optional>

#include "app/CommandLine.h"
#include "app/ExitCode.h"
#include "app/InitToolState.h"
#include "app/RemovalLog.h"
#include "app/RemovalPlan.h"
#include "app/ToolState.h"
#include "services/Failure.h"

namespace qvn {

// The start of a run without windows (/S, /WHATIF): the start-up and the
// removal's plan, decided once and then shared by the check of the log's
// place, the run itself and its log. Nothing is removed in deciding them.
struct UnattendedStart {
  ToolState state;
  StartupTexts found;
  RemovalPlan plan;
  // The start-up or the planning failed; the run reports it.
  std::optional<Failure> failure;
};

// Decides the start of an unattended run. A Failure is kept, not raised.
UnattendedStart StartUnattended();

// The removal for /S: the same in-use check and removal as the windows run,
// with no window and no message box, ever. Something in use ends it with
// nothing removed; a registry failure is recorded, not shown, and the removal
// goes on, but the run ends as failed. With `restart` (/RESTART), a removal that took
// something away and ran to its end asks for the restart exactly as the
// completion window's button does; any other run never restarts. Every event
// goes to `log` when there is one. With `closePrograms` (/CLOSEAPPLICATIONS),
// running programs inside what is removed are asked to close once before the
// run gives up for something in use; with `removeAtRestart`
// (/REMOVEATRESTART), what is still in use then is left for the restart and
// the rest removed.
RunEnding RunUnattended(UnattendedStart& start, const CommandLine& line, RemovalLog* log);

}  // namespace qvn
