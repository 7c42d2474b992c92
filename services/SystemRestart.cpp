#include "services/SystemRestart.h"

#include "services/PlatformApi.h"
#include "services/KernelHandle.h"

namespace qvn {
namespace {

// Best effort: a privilege that cannot be enabled shows as a refused restart.
void EnableShutdownPrivilege() {
  try {
    KernelHandle token;
    if (!api::OpenProcessToken(api::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.Receive())) {
      token.Release();  // a refused open hands back no token to close
      return;
    }
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!api::LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) return;
    api::AdjustTokenPrivileges(token.Get(), 0, &privileges, 0, nullptr, nullptr);
  } catch (...) {
    // No token functions on this system: nothing to enable.
  }
}

}  // namespace

bool RequestSystemRestart(bool ntFamily) {
  if (ntFamily) EnableShutdownPrivilege();
  return api::ExitWindowsEx(EWX_REBOOT, 0) != 0;
}

}  // namespace qvn
