#pragma once
#include <string>
#include <vector>

#include "services/PlatformTypes.h"

namespace qvn {

// A running process and the full path of its program file.
struct RunningProgram {
  DWORD processId;
  std::wstring file;
};

// Every running process whose program file can be named by its full local
// path ("X:\..."). ToolHelp lists the processes: on 95/98/ME it names each
// file in full; on the NT family it gives only the file's name, so the path
// comes from QueryFullProcessImageNameW where the system has it (Vista and
// later) and from the process's first module otherwise. A process whose file
// cannot be named so (the system's own, one this program may not open) is left
// out. Empty where processes cannot be listed at all: NT 4.0 has no ToolHelp.
std::vector<RunningProgram> ListRunningPrograms(bool ntFamily);

}  // namespace qvn
