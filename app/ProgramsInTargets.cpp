#include "app/ProgramsInTargets.h"

#include "app/RemovalTargets.h"
#include "services/ClosePrograms.h"
#include "services/Concat.h"

namespace qvn {

std::vector<RunningProgram> ProgramsInTargets(const std::vector<RemovalTarget>& targets, bool ntFamily) {
  std::vector<RunningProgram> inside;
  for (RunningProgram& program : ListRunningPrograms(ntFamily)) {
    if (LiesInTargets(program.file, targets)) inside.push_back(std::move(program));
  }
  return inside;
}

void ClosePrograms(const std::vector<RunningProgram>& programs, RemovalObserver* observer) {
  const std::vector<CloseOutcome> outcomes = AskToClose(programs, kCloseWaitMs);
  if (observer != nullptr) observer->ProgramsAskedToClose(outcomes);
}

std::vector<std::wstring> ListProgramsToClose(const RemovalPlan& plan, bool ntFamily) {
  std::vector<std::wstring> lines;
  for (const RunningProgram& program : ProgramsInTargets(RemovalTargets(plan), ntFamily)) {
    lines.push_back(Concat({L"Would ask to close: ", program.file}));
  }
  if (lines.empty()) lines.push_back(L"No running program inside what would be removed to ask to close");
  return lines;
}

}  // namespace qvn
