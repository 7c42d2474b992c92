#include "services/VersionQuery.h"

#include "services/PlatformApi.h"

namespace qvn {

void QueryVersion(OSVERSIONINFOA& info) {
  info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
  api::GetVersionExA(&info);
}

}  // namespace qvn
