#pragma once
#include <functional>
#include <string>
#include <vector>

#include "app/RemovalObserver.h"
#include "app/ToolState.h"
#include "services/FilesInUse.h"

namespace qvn {

// The files and folders the removal would delete, in its order: the desktop
// shortcut, the program group and the install folder as the guard resolves
// it (left out when the guard refuses it).
std::vector<RemovalTarget> RemovalTargets(const ToolState& state);

enum class InUseAnswer { Retry, Cancel };

// Asked with the full path of a file in use; answers whether to look again.
using AskWhenInUse = std::function<InUseAnswer(const std::wstring& fileInUse)>;

// Runs the removal once no file it would delete is held open by another
// program. Before anything is removed it looks for such a file; while there
// is one, `ask` decides: Retry looks again, Cancel gives up with nothing
// removed. Returns whether the removal ran. A file that becomes busy after the
// check fails the removal as before, with the same Failure.
bool RemoveWhenNotInUse(ToolState& state, const AskWhenInUse& ask, const RemovalOptions& options = {});

}  // namespace qvn
