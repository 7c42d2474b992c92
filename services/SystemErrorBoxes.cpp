#include "services/SystemErrorBoxes.h"

#include "services/PlatformApi.h"

namespace qvn {

void TurnOffSystemErrorBoxes() noexcept {
  try {
    api::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  } catch (...) {
    // Every Windows has the function; a binder without it leaves the boxes on.
  }
}

}  // namespace qvn
