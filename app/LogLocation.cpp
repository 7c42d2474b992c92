#include "app/LogLocation.h"

#include "app/InitToolState.h"
#include "app/RemovalTargets.h"
#include "services/Failure.h"

namespace qvn {
namespace {

// "\\?\C:\..." and "\\.\C:\..." name the same file as "C:\...".
std::wstring WithoutDevicePrefix(const std::wstring& path) {
  const bool prefixed = path.size() > 4 && path[0] == L'\\' && path[1] == L'\\' &&
                        (path[2] == L'?' || path[2] == L'.') && path[3] == L'\\';
  return prefixed ? path.substr(4) : path;
}

}  // namespace

bool LogLiesInRemovalTargets(const std::wstring& logPath) {
  ToolState state;
  try {
    InitToolState(state);
    return LiesInTargets(WithoutDevicePrefix(logPath), RemovalTargets(PlanRemoval(state)));
  } catch (const Failure&) {
    // The run's own start-up meets this again and reports it.
  }
  return false;
}

}  // namespace qvn
