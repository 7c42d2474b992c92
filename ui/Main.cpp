#include "services/PlatformTypes.h"
#include "ui/CommandLineRun.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return qvn::RunFromCommandLine(instance); }
