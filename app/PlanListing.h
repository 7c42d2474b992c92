#pragma once
#include <string>
#include <vector>

#include "app/RemovalPlan.h"
#include "app/ToolState.h"

namespace qvn {

// The plan's steps in their order, one line each with its target and whether
// it is there, or why the guard refuses it; before them, each folder link
// inside the targets, which the removal takes away by itself, and after the
// install folder's step the link it is reached through, when it is; first of
// all, where the guard's refusal stops the whole removal, that nothing would
// be removed and why. Removes nothing, and holds nothing open. On 95/98/ME it
// needs the state filled at start-up with its file-system object still held;
// the NT family asks the system directly.
std::vector<std::wstring> ListPlan(const ToolState& state, const RemovalPlan& plan);

}  // namespace qvn
