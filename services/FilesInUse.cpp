#include "services/FilesInUse.h"

#include "services/Concat.h"
#include "services/FileCalls.h"

namespace qvn {
namespace {

bool IsHeldElsewhere(DWORD error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION; }

bool IsFolder(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

bool IsFolderLink(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && IsFolder(attributes) && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// How often the walk tells how far it has come.
constexpr std::size_t kReportEvery = 256;

class Walk {
 public:
  Walk(bool lookForUse, bool ntFamily, const WalkProgress* progress)
      : files_(ntFamily), lookForUse_(lookForUse), foldersCanBeHeld_(ntFamily), progress_(progress) {}

  // False once a folder that cannot be listed is met: the walk ends there.
  bool Entry(const std::wstring& path, DWORD attributes) {
    if (++walked_ % kReportEvery == 0 && progress_ != nullptr) (*progress_)(walked_);
    if (IsFolderLink(attributes)) {
      survey_.folderLinks.push_back(path);
      return true;
    }
    return IsFolder(attributes) ? Folder(path) : File(path);
  }

  TargetSurvey Result() const { return survey_; }
  std::size_t Walked() const { return walked_; }

 private:
  bool File(const std::wstring& path) {
    if (lookForUse_ && FileIsHeld(path)) survey_.inUse.push_back({path, false});
    return true;
  }

  bool Folder(const std::wstring& path) {
    if (lookForUse_ && foldersCanBeHeld_ && FolderIsHeld(path)) survey_.inUse.push_back({path, true});
    bool walked = true;
    const DWORD error = files_.List(path, [&](const std::wstring& name, DWORD attributes) {
      walked = Entry(Concat({path, L"\\", name}), attributes);
      return walked;
    });
    if (!walked) return false;
    // A real folder always lists at least its dot entries: a search that
    // fails for any other reason than its end leaves the folder unknown, and
    // an unknown folder is never taken for an empty one. One that went away
    // meanwhile has nothing left to hold or follow.
    if (error == ERROR_NO_MORE_FILES || files_.Attributes(path) == INVALID_FILE_ATTRIBUTES) return true;
    survey_.unlisted = path;
    survey_.unlistedError = error;
    return false;
  }

  // Writing is refused to any other open handle (with no sharing) and to the
  // image of a running program or loaded library. A read-only file refuses
  // every write open with access denied; reading with no sharing still finds a
  // handle held on it.
  bool FileIsHeld(const std::wstring& path) const {
    DWORD error = files_.OpenError(path, GENERIC_WRITE, 0, FILE_ATTRIBUTE_NORMAL);
    if (error == ERROR_ACCESS_DENIED) error = files_.OpenError(path, GENERIC_READ, 0, FILE_ATTRIBUTE_NORMAL);
    return IsHeldElsewhere(error);
  }

  // Opened for deletion with everything shared, exactly as the folder's own
  // deletion will open it: a handle that does not share deletion (a process's
  // current folder) refuses it, a window merely showing the folder does not.
  bool FolderIsHeld(const std::wstring& path) const {
    return IsHeldElsewhere(files_.OpenError(path, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                            FILE_FLAG_BACKUP_SEMANTICS));
  }

  FileCalls files_;
  bool lookForUse_;
  bool foldersCanBeHeld_;
  const WalkProgress* progress_;
  std::size_t walked_ = 0;
  TargetSurvey survey_;
};

TargetSurvey Survey(const std::vector<RemovalTarget>& targets, bool lookForUse, bool ntFamily,
                    const WalkProgress* progress) {
  Walk walk(lookForUse, ntFamily, progress);
  const FileCalls files(ntFamily);
  std::vector<std::size_t> entries;
  for (const RemovalTarget& target : targets) {
    const std::size_t before = walk.Walked();
    const DWORD attributes = files.Attributes(target.path);
    // Not there, or not of its kind: nothing to hold or follow.
    const bool walked = attributes != INVALID_FILE_ATTRIBUTES && IsFolder(attributes) == target.isFolder;
    const bool goesOn = !walked || walk.Entry(target.path, attributes);
    entries.push_back(walk.Walked() - before);
    if (!goesOn) break;
  }
  TargetSurvey survey = walk.Result();
  survey.entries = std::move(entries);
  return survey;
}

}  // namespace

TargetSurvey SurveyTargets(const std::vector<RemovalTarget>& targets, bool lookForUse, bool ntFamily) {
  return Survey(targets, lookForUse, ntFamily, nullptr);
}

TargetSurvey SurveyTargets(const std::vector<RemovalTarget>& targets, bool lookForUse, bool ntFamily,
                           const WalkProgress& progress) {
  return Survey(targets, lookForUse, ntFamily, &progress);
}

}  // namespace qvn
