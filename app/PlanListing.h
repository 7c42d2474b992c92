#pragma once
#include <string>
#include <vector>

#include "app/ToolState.h"

namespace qvn {

// The removal's steps in their order, one line each with its target and
// whether it is there, or why the guard refuses it. Removes nothing; needs
// the state filled at start-up with its file-system object still held.
std::vector<std::wstring> ListPlan(const ToolState& state);

}  // namespace qvn
