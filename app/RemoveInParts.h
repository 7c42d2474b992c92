#pragma once
#include "app/RemovalPlan.h"
#include "app/RemoveWhenNotInUse.h"
#include "app/ToolState.h"

namespace qvn {

// RemoveOnNtFamily's way with more files and folders than are held at once
// (the options' ceiling). The targets are split into parts that fit: a folder
// too large is split into what is in it, each folder in it as a part of its
// own (split again where it is still too large), then the folder itself,
// last and alone. Every part is first claimed and its files marked, then
// everything is undone and released: the check, with the guarantee the
// removal always gave, that nothing is removed while anything is in use.
// What is in use is asked about as ever, and Remove at Restart leaves it for
// the restart by its path before anything is removed. Then each part in turn
// is claimed, marked and committed. What comes into use after the check
// stops the removal at its part with a Failure naming it: the parts before
// it are gone. The observer hears that the removal goes in parts.
bool RemoveInParts(ToolState& state, const RemovalPlan& plan, const AskWhenInUse& ask, const RemovalOptions& options);

}  // namespace qvn
