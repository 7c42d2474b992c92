#include "services/RemovalTurn.h"

#include <optional>
#include <string>

#include "services/AutomationError.h"
#include "services/KernelHandle.h"
#include "services/LastError.h"
#include "services/PlatformApi.h"
#include "services/ProcessApi.h"
#include "services/VersionQuery.h"

namespace qvn {
namespace {

// Whether a mutex that refused to be made with access denied is there: a
// run of another account made it. Opened for waiting only, or refused even
// that, it is; not found, the refusal was for the name's prefix.
bool MadeByAnotherAccount(const char* name) {
  const LastError lastError;
  const KernelHandle opened(api::OpenMutexA(SYNCHRONIZE, FALSE, name));
  return opened || lastError() == static_cast<DWORD>(ERROR_ACCESS_DENIED);
}

// Asks for the turn under `name`; nothing when no mutex of that name can be
// made and none is there (the system's error in `refusal`).
std::optional<RemovalTurn> AskUnder(const char* name, DWORD& refusal) {
  const LastError lastError;
  KernelHandle mutex(api::CreateMutexA(nullptr, FALSE, name));
  if (!mutex) {
    refusal = lastError();
    if (refusal == static_cast<DWORD>(ERROR_ACCESS_DENIED) && MadeByAnotherAccount(name)) return RemovalTurn{};
    return std::nullopt;
  }
  const DWORD waited = api::WaitForSingleObject(mutex.Get(), 0);
  if (waited == WAIT_TIMEOUT) return RemovalTurn{};
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) throw PlatformCallFailure("WaitForSingleObject", lastError());
  RemovalTurn turn;
  turn.mutex = OwnedMutex(mutex.Release());
  turn.afterEndedRun = waited == WAIT_ABANDONED;
  return turn;
}

bool KnowsGlobalNames() {
  OSVERSIONINFOA version{};
  QueryVersion(version);
  return version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion >= 5;
}

}  // namespace

void ReleaseOwnedMutex::operator()(HANDLE mutex) const {
  const KernelHandle closed(mutex);
  api::ReleaseMutex(mutex);
}

RemovalTurn TakeRemovalTurn() {
  DWORD refusal = ERROR_SUCCESS;
  if (KnowsGlobalNames()) {
    const std::string global = std::string("Global\\") + kRemovalTurnName;
    if (std::optional<RemovalTurn> turn = AskUnder(global.c_str(), refusal)) return std::move(*turn);
  }
  if (std::optional<RemovalTurn> turn = AskUnder(kRemovalTurnName, refusal)) return std::move(*turn);
  throw PlatformCallFailure("CreateMutexA", refusal);
}

}  // namespace qvn
