#include "services/KernelHandle.h"

#include "services/PlatformApi.h"

namespace qvn {

void CloseKernelHandle::operator()(HANDLE handle) const { api::CloseHandle(handle); }

}  // namespace qvn
