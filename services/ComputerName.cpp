#include "services/ComputerName.h"

#include "services/PlatformApi.h"
#include "services/Text.h"

namespace qvn {

std::wstring ComputerName() noexcept {
  try {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD chars = sizeof name;
    return api::GetComputerNameA(name, &chars) ? FromAnsi(name) : std::wstring();
  } catch (...) {
    return {};
  }
}

}  // namespace qvn
