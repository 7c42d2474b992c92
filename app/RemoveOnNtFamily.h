#pragma once
#include "app/RemovalPlan.h"
#include "app/RemoveWhenNotInUse.h"
#include "app/ToolState.h"

namespace qvn {

// RemoveWhenNotInUse on the NT family, once the program stands outside the
// targets: the removal by handles (services/HeldTree.h). Every file and
// folder of the three file targets is claimed and every file marked before
// anything is removed; the claim is the in-use check. Something held
// elsewhere without delete sharing (at the claim) or mapped by a running
// program (at the mark) releases everything, undoes every mark and asks, as
// the check always did; Remove at Restart leaves it for the restart through
// the handles still held, and then the rest is committed in the plan's order,
// then the registry steps. Above the options' ceiling the removal goes one
// folder at a time, each checked first. Needs no scripting object.
bool RemoveOnNtFamily(ToolState& state, const RemovalPlan& plan, const AskWhenInUse& ask,
                      const RemovalOptions& options);

}  // namespace qvn
