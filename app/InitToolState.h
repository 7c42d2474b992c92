#pragma once
#include <string>

#include "app/ToolState.h"

namespace qvn {

struct StartupTexts {
  std::wstring osLabel;
  std::wstring locationText;
};

// Fills `state` once at start-up: the file-system object, the settings key, the
// version record, the two shell paths of the running family and the install
// folder read from the registry. Returns the two texts the main window shows.
// Raises Failure when the file-system object cannot be made. A caller without
// windows releases state.FileSys itself when done.
StartupTexts InitToolState(ToolState& state);

}  // namespace qvn
