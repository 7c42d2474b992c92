#include "services/PlatformTypes.h"
#include "ui/ProgramFrame.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  qvn::ProgramFrame frame(instance);
  return frame.Run();
}
