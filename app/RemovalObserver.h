#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "services/ClosePrograms.h"

namespace qvn {

// What became of one step of the removal.
struct StepReport {
  enum class Outcome { Removed, NotPresent, Refused, Failed };
  int number;          // 1 for the first step of the plan
  std::wstring target; // the file, folder or registry key
  Outcome outcome;
  std::wstring detail; // why refused; the failure's number and description
};

// Told of each step as it ends; the steps themselves know nothing of who
// listens (a log, a count of what was removed).
class RemovalObserver {
 public:
  virtual ~RemovalObserver() = default;
  virtual void StepDone(const StepReport& report) = 0;
  // A folder link inside the targets, taken away by itself before step 1.
  virtual void LinkRemoved(const std::wstring& link) = 0;
  // Running programs inside the targets asked to close, after the wait for them.
  virtual void ProgramsAskedToClose(const std::vector<CloseOutcome>& outcomes) = 0;
};

struct RemovalOptions {
  RemovalObserver* observer = nullptr;
  // No message box for a registry failure: an unattended run shows nothing,
  // its observer keeps the record instead.
  bool quiet = false;
};

}  // namespace qvn
