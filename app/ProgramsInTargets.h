#pragma once
#include <string>
#include <vector>

#include "app/RemovalObserver.h"
#include "app/RemovalPlan.h"
#include "services/FilesInUse.h"
#include "services/RunningPrograms.h"

namespace qvn {

// How long a removal waits, in all, for the programs it asked to close.
inline constexpr DWORD kCloseWaitMs = 15000;

// The running programs whose file lies in the targets, by its full path and
// every name of the folders above it; a program of the same name elsewhere is
// none of them. Empty where processes cannot be listed (NT 4.0).
std::vector<RunningProgram> ProgramsInTargets(const std::vector<RemovalTarget>& targets, bool ntFamily);

// Asks each program to close as its user would and waits for them, up to
// kCloseWaitMs in all; never ends one by force. Tells `observer` what became
// of each.
void ClosePrograms(const std::vector<RunningProgram>& programs, RemovalObserver* observer);

// For /WHATIF: a line for each running program that the removal would ask to
// close, or one saying there is none.
std::vector<std::wstring> ListProgramsToClose(const RemovalPlan& plan, bool ntFamily);

}  // namespace qvn
