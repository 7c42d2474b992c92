#include "services/VersionQuery.h"

#include "services/PlatformApi.h"

namespace qvn {

void QueryVersion(OSVERSIONINFOA& info) {
  info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
  api::GetVersionExA(&info);
}

bool RunsOnNtFamily() {
  OSVERSIONINFOA info{};
  QueryVersion(info);
  return info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

}  // namespace qvn
