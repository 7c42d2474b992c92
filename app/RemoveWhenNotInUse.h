#pragma once
#include <functional>
#include <string>
#include <vector>

#include "app/RemovalObserver.h"
#include "app/RemovalPlan.h"
#include "app/ToolState.h"
#include "services/FilesInUse.h"

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

enum class InUseAnswer { Retry, Cancel };

// Asked with the full path of a file or folder in use; answers whether to look again.
using AskWhenInUse = std::function<InUseAnswer(const std::wstring& inUse)>;

// Runs the plan once nothing it would delete is held by another program. The
// program first leaves a current folder inside the targets; running from a
// file inside them, it raises Failure with nothing removed.
// Before anything is removed it looks for a file or folder in use; while there
// is one, `ask` decides: Retry looks again, Cancel gives up with nothing
// removed. Then each folder link inside the targets is removed by itself, so
// that no deletion follows one out of the targets; a link that cannot be
// removed so raises Failure with nothing of the installation removed. Returns
// whether the removal ran. Something that becomes busy after the check fails
// the removal as before, with the same Failure.
bool RemoveWhenNotInUse(ToolState& state, const RemovalPlan& plan, const AskWhenInUse& ask,
                        const RemovalOptions& options = {});

}  // namespace qvn
