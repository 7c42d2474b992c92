#include "ui/CommandLineRun.h"

#include "app/ProgramRun.h"
#include "services/ProgramPlace.h"
#include "ui/ProgramFrame.h"

namespace qvn {

int RunFromCommandLine(HINSTANCE instance) {
  return RunProgram(CommandLineText(), [instance](RemovalLog* log) {
    ProgramFrame frame(instance, log);
    return frame.Run() == 0;
  });
}

}  // namespace qvn
