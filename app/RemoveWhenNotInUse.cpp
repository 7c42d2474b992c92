#include "app/RemoveWhenNotInUse.h"

#include "app/InterruptedRuns.h"
#include "app/OtherInstalledPrograms.h"
#include "app/ProgramsInTargets.h"
#include "app/RemoveAtRestart.h"
#include "app/RemoveOnNtFamily.h"
#include "app/RemovalTargets.h"
#include "app/RunRemoval.h"
#include "services/AutomationError.h"
#include "services/Concat.h"
#include "services/ProgramPlace.h"
#include "services/RemoveFolderLink.h"

namespace qvn {
namespace {

bool IsNtFamily(const ToolState& state) { return state.VersionInfo.dwPlatformId == VER_PLATFORM_WIN32_NT; }

// Started from inside the install folder (an uninstaller kept beside the
// program, a double-click there), the program's own current folder would hold
// that folder, and every check would find it in use: it moves out first. Its
// own file cannot be removed while it runs: nothing is removed then, and the
// user is told to run it from elsewhere.
void StandOutsideTheTargets(const std::vector<RemovalTarget>& targets) {
  const std::wstring self = ProgramFile();
  if (!self.empty() && LiesInTargets(self, targets)) {
    throw StandardFailure(ErrorNumber::PathFileAccess,
                          L": QvnRemove runs from inside what it removes, so nothing has been removed; copy it to "
                          L"another folder and run it from there")
        .WithItem(self);
  }
  if (LiesInTargets(CurrentFolder(), targets)) MoveToWindowsFolder();
}

// A folder whose entries could not be read may hold a link or a file in use
// that nobody can see: the removal does not start.
void StopAtAFolderThatCannotBeListed(const TargetSurvey& survey) {
  if (!survey.unlisted) return;
  throw SystemErrorFailure(survey.unlistedError,
                           L"A folder cannot be listed, so what is in it cannot be checked, and nothing of Quorvane "
                           L"has been removed")
      .WithItem(*survey.unlisted);
}

// Each link goes by itself before anything else, so that no deletion can
// follow it. One the system will not remove so stops the removal there: the
// links already taken away are named, since they are gone.
void RemoveFolderLinks(const std::vector<std::wstring>& links, bool ntFamily, RemovalObserver* observer) {
  std::vector<std::wstring> removed;
  for (const std::wstring& link : links) {
    const DWORD error = RemoveFolderLink(link, ntFamily);
    if (error != ERROR_SUCCESS) {
      const TextPiece before =
          removed.empty() ? TextPiece(L"") : TextPiece(L"; folder links removed by themselves before it: ");
      throw SystemErrorFailure(error, Concat({L"A folder link cannot be removed without following it, so nothing "
                                              L"of Quorvane has been removed",
                                              before, Joined(removed, L", ")}))
          .WithItem(link);
    }
    removed.push_back(link);
    if (observer != nullptr) observer->LinkRemoved(link);
  }
}

// The entries in use that stop the removal: those an earlier run has not
// already left for the restart.
std::vector<RemovalTarget> Blocking(const std::vector<RemovalTarget>& inUse, const std::vector<RemovalTarget>& pending) {
  std::vector<RemovalTarget> blocking;
  for (const RemovalTarget& entry : inUse) {
    bool isPending = false;
    for (const RemovalTarget& listed : pending) isPending = isPending || listed.path == entry.path;
    if (!isPending) blocking.push_back(entry);
  }
  return blocking;
}

void TellChecked(RemovalObserver* observer, std::size_t done, std::size_t total) {
  if (observer != nullptr) observer->Working({RemovalProgress::Phase::Checking, done, total});
}

}  // namespace

bool RemoveWhenNotInUse(ToolState& state, const RemovalPlan& plan, const AskWhenInUse& ask,
                        const RemovalOptions& options) {
  StopWhereNothingMayBeRemoved(plan);
  const std::vector<RemovalTarget> targets = RemovalTargets(plan);
  StandOutsideTheTargets(targets);
  const bool ntFamily = IsNtFamily(state);
  if (ntFamily) return RemoveOnNtFamily(state, plan, ask, options);
  RemovalOptions run = options;
  std::vector<std::wstring> links;
  std::wstring restartRefusal;
  for (;;) {
    TargetSurvey survey = SurveyTargets(targets, true, ntFamily, [&options](std::size_t walked) {
      TellChecked(options.observer, walked, 0);
    });
    StopAtAFolderThatCannotBeListed(survey);
    links = std::move(survey.folderLinks);
    run.entries = std::move(survey.entries);
    const std::vector<RemovalTarget> pending = AlreadyPendingAtRestart(survey.inUse, ntFamily);
    run.staying.clear();
    for (const RemovalTarget& entry : pending) run.staying.push_back(entry.path);
    const std::vector<RemovalTarget> blocking = Blocking(survey.inUse, pending);
    if (blocking.empty()) break;
    const InUse found{blocking.front().path, ProgramsInTargets(targets, ntFamily), restartRefusal};
    const InUseAnswer answer = ask(found);
    if (answer == InUseAnswer::Cancel) return false;
    // Listed again as the answer comes: a program may have ended while the
    // prompt showed, and its process number gone to another program.
    if (answer == InUseAnswer::ClosePrograms) ClosePrograms(ProgramsInTargets(targets, ntFamily), options.observer);
    if (answer != InUseAnswer::RemoveAtRestart) continue;
    // Links go first, so that nothing is left for the restart where a
    // link that will not go by itself then stops the removal.
    RemoveFolderLinks(links, ntFamily, options.observer);
    links.clear();
    const LeftForRestart left =
        LeaveForRestart(blocking, targets, plan.installFolder.folder.value_or(L""), ntFamily, options.observer);
    if (left.done) {
      for (const std::wstring& path : left.staying) run.staying.push_back(path);
      break;
    }
    restartRefusal = left.refusal;
    if (options.observer != nullptr) options.observer->RestartRefused(restartRefusal);
  }
  std::size_t checked = 0;
  for (const std::size_t count : run.entries) checked += count;
  TellChecked(options.observer, checked, checked);
  RemoveFolderLinks(links, ntFamily, options.observer);
  FinishInterruptedRuns(state, plan, options.observer);
  RunRemoval(state, plan, run);
  return true;
}

}  // namespace qvn
