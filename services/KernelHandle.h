#pragma once
#include "services/PlatformTypes.h"
#include "services/UniqueHandle.h"

namespace qvn {

struct CloseKernelHandle {
  void operator()(HANDLE handle) const;
};

// A handle that CloseHandle closes: an open file, a process token.
using KernelHandle = UniqueHandle<HANDLE, CloseKernelHandle>;

}  // namespace qvn
