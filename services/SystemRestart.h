#pragma once

namespace qvn {

// Asks Windows to restart the computer, without forcing programs to close. On
// the NT family the caller must hold the shutdown privilege, so it is enabled
// first; the 95/98/ME family has no privileges. Returns whether Windows
// accepted the request. Raises Failure only when the restart function itself
// cannot be bound.
bool RequestSystemRestart(bool ntFamily);

}  // namespace qvn
