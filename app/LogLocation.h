#pragma once
#include <string>

namespace qvn {

// Whether a log at `logPath` would lie in what the removal deletes: the
// program would hold its own log open there, so that every run would find
// Quorvane in use. Decided from a start-up and a plan of its own, which
// remove nothing; a start-up that fails decides nothing (false), and the run
// then meets that failure itself.
bool LogLiesInRemovalTargets(const std::wstring& logPath);

}  // namespace qvn
