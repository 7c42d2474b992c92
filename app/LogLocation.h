#pragma once
#include <string>

#include "app/RemovalPlan.h"

namespace qvn {

// Whether a log at `logPath` would lie in what `plan` deletes: the program
// would hold its own log open there, so that every run would find Quorvane
// in use. The log's place is read as the guard reads a folder: by its names
// and, on fixed and removable drives, by what its folders are; a path through
// this computer's administrative share of a drive ("\\localhost\C$\...",
// "\\127.0.0.1\...", "\\<this computer>\...") is read as the drive's own
// path. Nothing is removed in deciding.
bool LogLiesInRemovalTargets(const std::wstring& logPath, const RemovalPlan& plan);

// `path` as a local path where it names this computer's own drive through a
// device prefix ("\\?\C:\...", "\\?\UNC\...") or an administrative share
// ("\\localhost\C$\..." gives "C:\..."); else unchanged.
std::wstring ThroughThisComputersShares(const std::wstring& path);

}  // namespace qvn
