#pragma once
#include <string>
#include <vector>

#include "app/InstallFolderGuard.h"
#include "app/ToolState.h"

namespace qvn {

struct RemovalStep {
  enum class Kind { File, Folder, RegistryKey };
  Kind kind;
  // The file or folder; for a key, its path below HKEY_LOCAL_MACHINE.
  std::wstring target;
  // A key step's subkey below `target`; empty for `target` itself.
  std::wstring subkey;
  // Set on the install-folder step when the location the registry names is
  // no place it may delete: the step then touches nothing.
  bool skipped = false;
  bool refusedByGuard = false;  // of a skipped step: the guard said no
  std::wstring skipReason;
  // Of the install-folder step, when the install location is a folder link:
  // the link, taken away by itself once `target`, the folder it leads to, is.
  std::wstring linkAfter{};
};

// One run's removal, decided once when the run starts and handed to every
// part of it (the in-use check, the removal, the listing and the log): the
// shell items (each at its fixed path, then where the system reports it when
// that differs) and the install folder as the guard decided it, then the
// uninstall entry, the settings key's four subkeys and the settings key
// itself. The vendor key and any subkey not named here stay.
struct RemovalPlan {
  std::vector<RemovalStep> steps;
  std::wstring installLocation;          // as start-up read it
  InstallFolderDecision installFolder;   // what the guard made of it
};

// Decides the plan for a run from the state filled at start-up. Where the
// system keeps its desktop and Start-menu folders is asked here, at the first
// run, and kept in the state for the runs after it.
RemovalPlan PlanRemoval(ToolState& state);

// Raises Failure, before anything is removed, where the guard's refusal of
// the install folder forbids the whole removal (a folder link that leads
// where nothing may be deleted): the failure report, or 1603 under /S.
void StopWhereNothingMayBeRemoved(const RemovalPlan& plan);

// The full form of a step's target as a keyed path, for records.
std::wstring KeyTarget(const RemovalStep& step);

// The text the file-system service takes for the step's kind.
const wchar_t* PathKindText(RemovalStep::Kind kind);

}  // namespace qvn
