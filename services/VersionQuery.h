#pragma once
#include "services/PlatformTypes.h"

namespace qvn {

// Fills `info` from the platform's version query; sets the record's size field
// first. The query's result is not examined: a refused query leaves the rest
// of the record as it was.
void QueryVersion(OSVERSIONINFOA& info);

// Whether the version query reports the NT family (NT 4.0 to 11); false for
// 95/98/ME, and when the query is refused.
bool RunsOnNtFamily();

}  // namespace qvn
