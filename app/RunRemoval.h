#pragma once
#include "app/ToolState.h"

namespace qvn {

// Runs every step of the removal plan in order, each to its end. Registry
// steps never stop it; a Failure of a file or folder step ends it there,
// naming the item, and goes to the caller. Needs the state filled at start-up
// with its file-system object still held.
void RunRemoval(ToolState& state);

}  // namespace qvn
