#pragma once
#include <string>
#include <vector>

#include "app/RemovalObserver.h"
#include "app/RemovalPlan.h"
#include "app/ToolState.h"

namespace qvn {

// A run that stops after moving files in use aside but before listing them
// for the restart (a crash, a power cut) leaves a working Quorvane.exe in a
// folder beside the install folder that nothing lists and nobody looks at.
// Only the NT family moves anything aside; on 95/98/ME these find nothing.

// Finishes each folder an interrupted run left beside the plan's install
// folder, before the removal's first step: a folder this program made and
// marked that is not listed for the restart as a whole is removed when
// nothing in it is in use, else everything in it is listed for the restart,
// what is listed already not again. A folder of that name without the mark is
// someone else's and is never touched; one that holds a folder link or a
// folder that cannot be listed is left as it is and reported not finished.
// A folder is removed as Quorvane's files are, every entry in it claimed and
// marked before any goes. Each outcome goes to `observer`, each entry listed
// too. Runs once the removal's check has found nothing that stops it.
void FinishInterruptedRuns(const ToolState& state, const RemovalPlan& plan, RemovalObserver* observer);

// For /WHATIF: a line for each such folder, saying what the removal would do
// with it; nothing when there is none.
std::vector<std::wstring> ListInterruptedRuns(const ToolState& state, const RemovalPlan& plan);

}  // namespace qvn
