#include "app/OneRunAtATime.h"

#include "app/RemovalLog.h"
#include "services/MessageBox.h"

namespace qvn {

bool RemovesUnattended(const CommandLine& line) { return line.silent && !line.whatIf && !line.help; }

void LogTurn(const RemovalTurn& turn, RemovalLog* log) {
  if (log == nullptr) return;
  if (!turn.Taken()) log->AnotherRunRemoves();
  if (turn.afterEndedRun) log->TurnTakenAfterAnEndedRun();
}

bool RemoveInTurn(HWND owner, RemovalLog* log, const FunctionRef<bool()>& remove) {
  const RemovalTurn turn = TakeRemovalTurn();
  LogTurn(turn, log);
  if (!turn.Taken()) {
    ShowMessageBox(owner,
                   L"QvnRemove is already removing Quorvane on this computer, in another window or for another "
                   L"user. Nothing has been removed; try again once it has finished.",
                   L"QvnRemove", MB_OK | MB_ICONINFORMATION);
    return false;
  }
  return remove();
}

}  // namespace qvn
