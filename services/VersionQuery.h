#pragma once
#include "services/PlatformTypes.h"

namespace qvn {

// Fills `info` from the platform's version query; sets the record's size field
// first. The query's result is not examined: a refused query leaves the rest
// of the record as it was.
void QueryVersion(OSVERSIONINFOA& info);

}  // namespace qvn
