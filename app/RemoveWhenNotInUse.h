#pragma once
#include <functional>
#include <string>
#include <vector>

#include "app/RemovalObserver.h"
#include "app/RemovalPlan.h"
#include "app/ToolState.h"
#include "services/FilesInUse.h"
#include "services/RunningPrograms.h"

namespace qvn {

// The files and folders the plan deletes, in its order: the desktop shortcut,
// the program group and the install folder as the guard decided it (left out
// when it is skipped).
std::vector<RemovalTarget> RemovalTargets(const RemovalPlan& plan);

// Whether `path` is one of the target files, or lies in one of the target
// folders by any of its names: long or short, or another name for a folder
// above it (the path itself need not be there yet).
bool LiesInTargets(const std::wstring& path, const std::vector<RemovalTarget>& targets);

// What is there to be walked: folder links found too, nothing checked for use.
TargetSurvey FolderLinksIn(const RemovalPlan& plan);

// What the check found in use, and what the removal could ask to close.
struct InUse {
  std::wstring path;                     // the first file or folder in use, in full
  std::vector<RunningProgram> programs;  // running programs whose file lies in the targets
};

// Retry looks again; ClosePrograms asks the programs found to close, waits
// for them and looks again; RemoveAtRestart and Cancel give up with nothing
// removed.
enum class InUseAnswer { Retry, Cancel, ClosePrograms, RemoveAtRestart };

using AskWhenInUse = std::function<InUseAnswer(const InUse& found)>;

// Runs the plan once nothing it would delete is held by another program. The
// program first leaves a current folder inside the targets; running from a
// file inside them, it raises Failure with nothing removed.
// Before anything is removed it looks for a file or folder in use; while there
// is one, `ask` decides, told of the running programs inside the targets:
// Retry looks again, ClosePrograms asks them to close (the options' observer
// hears what became of them) and looks again, Cancel gives up with nothing
// removed. Then each folder link inside the targets is removed by itself, so
// that no deletion follows one out of the targets; a link that cannot be
// removed so raises Failure with nothing of the installation removed. Returns
// whether the removal ran. Something that becomes busy after the check fails
// the removal as before, with the same Failure.
bool RemoveWhenNotInUse(ToolState& state, const RemovalPlan& plan, const AskWhenInUse& ask,
                        const RemovalOptions& options = {});

}  // namespace qvn
