#pragma once
#include "services/Binder.h"

namespace qvn {

// The binder of the machine the program runs on.
Binder& SystemBinder();

}  // namespace qvn
