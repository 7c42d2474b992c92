#include "ui/CommandLineRun.h"

#include "app/ProgramRun.h"
#include "services/PlatformApi.h"
#include "services/Text.h"
#include "ui/ProgramFrame.h"

namespace qvn {

int RunFromCommandLine(HINSTANCE instance) {
  return RunProgram(FromAnsi(api::GetCommandLineA()), [instance](RemovalLog* log) {
    ProgramFrame frame(instance, log);
    return frame.Run() == 0;
  });
}

}  // namespace qvn
