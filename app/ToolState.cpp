#include "app/ToolState.h"

namespace qvn {

ToolState& ProgramToolState() {
  static ToolState state;
  return state;
}

}  // namespace qvn
