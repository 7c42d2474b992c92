#include "app/RemoveWhenNotInUse.h"

#include "app/ProgramsInTargets.h"
#include "app/RemovalTargets.h"
#include "app/RunRemoval.h"
#include "services/AutomationError.h"
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

std::wstring Listed(const std::vector<std::wstring>& paths) {
  std::wstring text;
  for (const std::wstring& path : paths) text += (text.empty() ? L"" : L", ") + path;
  return text;
}

// Each link goes by itself before anything else, so that no deletion can
// follow it. One the system will not remove so stops the removal there: the
// links already taken away are named, since they are gone.
void RemoveFolderLinks(const std::vector<std::wstring>& links, bool ntFamily, RemovalObserver* observer) {
  std::vector<std::wstring> removed;
  for (const std::wstring& link : links) {
    const DWORD error = RemoveFolderLink(link, ntFamily);
    if (error != ERROR_SUCCESS) {
      std::wstring description = L"A folder link cannot be removed without following it, so nothing of Quorvane has "
                                 L"been removed";
      if (!removed.empty()) description += L"; folder links removed by themselves before it: " + Listed(removed);
      throw SystemErrorFailure(error, description).WithItem(link);
    }
    removed.push_back(link);
    if (observer != nullptr) observer->LinkRemoved(link);
  }
}

}  // namespace

bool RemoveWhenNotInUse(ToolState& state, const RemovalPlan& plan, const AskWhenInUse& ask,
                        const RemovalOptions& options) {
  const std::vector<RemovalTarget> targets = RemovalTargets(plan);
  StandOutsideTheTargets(targets);
  const bool ntFamily = IsNtFamily(state);
  TargetSurvey survey = SurveyTargets(targets, true, ntFamily);
  StopAtAFolderThatCannotBeListed(survey);
  while (!survey.inUse.empty()) {
    const InUse found{survey.inUse.front().path, ProgramsInTargets(targets, ntFamily)};
    const InUseAnswer answer = ask(found);
    if (answer == InUseAnswer::Cancel) return false;
    if (answer == InUseAnswer::RemoveAtRestart) return false;  // nothing is scheduled yet: as Cancel
    if (answer == InUseAnswer::ClosePrograms) ClosePrograms(found.programs, options.observer);
    survey = SurveyTargets(targets, true, ntFamily);
    StopAtAFolderThatCannotBeListed(survey);
  }
  RemoveFolderLinks(survey.folderLinks, ntFamily, options.observer);
  RunRemoval(state, plan, options);
  return true;
}

}  // namespace qvn
