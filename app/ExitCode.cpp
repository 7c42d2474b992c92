#include "app/ExitCode.h"

namespace qvn {
namespace {

constexpr int kSuccess = 0;
constexpr int kInteractiveFailure = 1;
constexpr int kInvalidParameter = 87;
constexpr int kFatalError = 1603;
constexpr int kInstallInProgress = 1618;
constexpr int kRestartStarted = 1641;
constexpr int kRestartNeeded = 3010;

}  // namespace

int ExitCode(const RunEnding& ending) {
  switch (ending.kind) {
    case RunEnding::Kind::InvalidArguments:
      return kInvalidParameter;
    case RunEnding::Kind::FileInUse:
    case RunEnding::Kind::AnotherRunRemoves:
      return kInstallInProgress;
    case RunEnding::Kind::Failed:
      return ending.unattended ? kFatalError : kInteractiveFailure;
    case RunEnding::Kind::Listed:
      return kSuccess;
    case RunEnding::Kind::Finished:
      break;
  }
  if (!ending.unattended) return kSuccess;
  if (ending.restartStarted) return kRestartStarted;
  return ending.anythingRemoved ? kRestartNeeded : kSuccess;
}

}  // namespace qvn
