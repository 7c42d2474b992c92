#include "services/SystemRestart.h"

#include "services/PlatformApi.h"

namespace qvn {
namespace {

// A process token, closed when it goes.
class Token {
 public:
  Token() {
    if (!api::OpenProcessToken(api::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &handle_)) {
      handle_ = nullptr;
    }
  }
  ~Token() {
    if (handle_ != nullptr) api::CloseHandle(handle_);
  }
  Token(const Token&) = delete;
  Token& operator=(const Token&) = delete;

  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_ = nullptr;
};

// Best effort: a privilege that cannot be enabled shows as a refused restart.
void EnableShutdownPrivilege() {
  try {
    Token token;
    if (token.Get() == nullptr) return;
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
