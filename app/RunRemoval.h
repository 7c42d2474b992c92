#pragma once
#include "app/RemovalObserver.h"
#include "app/RemovalPlan.h"
#include "app/ToolState.h"

namespace qvn {

// Runs every step of the plan in order, each to its end. Registry steps never
// stop it; a Failure of a file or folder step ends it there, naming the item,
// and goes to the caller. Needs the state filled at start-up with its
// file-system object still held. Each step's outcome goes to the options'
// observer, a failing one included, before the failure goes up. Where the
// install folder is the folder a link leads to, the link goes by itself right
// after that step (app/InstallFolderLink.h). It neither
// checks for use nor removes folder links first: the program's runs go
// through RemoveWhenNotInUse, which does both and then calls this.
void RunRemoval(ToolState& state, const RemovalPlan& plan, const RemovalOptions& options = {});

// A step that touches no file: a registry key deleted as the plan says (a
// failure is recorded in the report, and shown unless `quiet`, never
// raised), or a file or folder step the guard skipped.
StepReport RunStepWithoutFiles(const RemovalStep& step, int number, bool quiet);

}  // namespace qvn
