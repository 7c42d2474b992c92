#include "app/LogLocation.h"

#include "app/InitToolState.h"
#include "app/InstallFolderGuard.h"
#include "app/RemoveWhenNotInUse.h"
#include "services/Failure.h"

namespace qvn {

namespace {

// "\\?\C:\..." and "\\.\C:\..." name the same file as "C:\...".
std::wstring WithoutDevicePrefix(const std::wstring& path) {
  const bool prefixed = path.size() > 4 && path[0] == L'\\' && path[1] == L'\\' &&
                        (path[2] == L'?' || path[2] == L'.') && path[3] == L'\\';
  return prefixed ? path.substr(4) : path;
}

// The log's own file is usually not there yet, so the long and short names of
// what holds it are compared as folders, by what they are, too.
bool LiesIn(const std::wstring& log, const RemovalTarget& target) {
  if (!target.isFolder) return IsSamePlace(log, target.path);
  return qvn::LiesIn(log, target.path) || LiesInByIdentity(log, target.path);
}

}  // namespace

bool LogLiesInRemovalTargets(const std::wstring& logPath) {
  const std::wstring log = WithoutDevicePrefix(logPath);
  ToolState state;
  try {
    InitToolState(state);
    for (const RemovalTarget& target : RemovalTargets(PlanRemoval(state))) {
      if (LiesIn(log, target)) return true;
    }
  } catch (const Failure&) {
    // The run's own start-up meets this again and reports it.
  }
  return false;
}

}  // namespace qvn
