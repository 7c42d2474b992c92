#pragma once
#include <string>

#include "app/ToolState.h"

namespace qvn {

struct StartupTexts {
  std::wstring osLabel;
  std::wstring locationText;
};

// Fills `state` once at start-up: the version record, on 95/98/ME the
// file-system object (the NT family removes without it), the settings key,
// the two shell paths of the running family and the install folder read
// from the registry. Returns the two texts the main window shows. Raises
// Failure when 95/98/ME cannot make the file-system object. A caller without
// windows releases state.FileSys itself when done.
StartupTexts InitToolState(ToolState& state);

}  // namespace qvn
