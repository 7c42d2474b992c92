#pragma once
#include <string>
#include <vector>

#include "app/RemovalObserver.h"
#include "app/RemovalPlan.h"
#include "app/ToolState.h"
#include "services/FunctionRef.h"
#include "services/RunningPrograms.h"

namespace qvn {

// What the check found in use, and what the removal could ask to close.
struct InUse {
  std::wstring path;                     // the first file or folder in use, in full
  std::vector<RunningProgram> programs;  // running programs whose file lies in the targets
  std::wstring restartRefusal;           // why Remove at Restart was refused, when it was
};

// Retry looks again; ClosePrograms asks the programs found to close, waits
// for them and looks again; RemoveAtRestart leaves what is in use for the
// restart and removes the rest (when the system refuses, nothing is removed
// and `ask` is asked again, told why); Cancel gives up with nothing removed.
enum class InUseAnswer { Retry, Cancel, ClosePrograms, RemoveAtRestart };

using AskWhenInUse = FunctionRef<InUseAnswer(const InUse& found)>;

// Runs the plan once nothing it would delete is held by another program. A
// plan whose install folder stops the removal (another installed program
// lives in it, or it is a folder link that leads where nothing may be
// deleted) raises Failure first, naming the location, with nothing removed.
// On the NT family this is the removal by handles (RemoveOnNtFamily.h): the
// check is the claim of every entry, with the same answers and guarantees as
// below, and nothing becomes busy after it. The
// program first leaves a current folder inside the targets; running from a
// file inside them, it raises Failure with nothing removed.
// Before anything is removed the targets are walked whole. A folder inside
// them that cannot be listed raises Failure naming it, with nothing removed:
// what is in it cannot be checked. While a file or folder is in use, `ask`
// decides, told of the running programs inside the targets: Retry looks
// again, ClosePrograms asks them to close (the options' observer hears what
// became of them) and looks again, RemoveAtRestart leaves what is in use for
// the restart (moved aside, or listed where it is, before anything is
// removed) and the removal then goes around it, Cancel gives up with nothing
// removed. What an earlier run already left for the restart stops nothing:
// the removal goes around it. Each folder link inside the targets is removed
// by itself before anything else, so that no deletion follows one out of the
// targets; a link that cannot be removed so raises Failure naming it, with
// nothing of the installation removed. Returns
// whether the removal ran. Something that becomes busy after the check fails
// the removal as before, with the same Failure.
bool RemoveWhenNotInUse(ToolState& state, const RemovalPlan& plan, const AskWhenInUse& ask,
                        const RemovalOptions& options = {});

}  // namespace qvn
