#include "services/FilesInUse.h"

#include <cstring>

#include "services/KernelHandle.h"
#include "services/PlatformApi.h"
#include "services/Text.h"
#include "services/UniqueHandle.h"

namespace qvn {
namespace {

struct CloseSearch {
  void operator()(HANDLE search) const { api::FindClose(search); }
};

// The platform marks a failed open or search with INVALID_HANDLE_VALUE, not
// null; only a real handle is given to an owner.
HANDLE Valid(HANDLE handle) { return handle == INVALID_HANDLE_VALUE ? nullptr : handle; }

// Opens and closes at once; on failure, the platform's error.
DWORD OpenError(const std::string& path, DWORD access, DWORD sharing, DWORD flags) {
  // Bound before the open, so that binding cannot change the error it reads.
  const auto lastError = api::GetLastError.Resolve();
  KernelHandle opened(Valid(api::CreateFileA(path.c_str(), access, sharing, nullptr, OPEN_EXISTING, flags, nullptr)));
  return opened ? ERROR_SUCCESS : lastError();
}

bool IsHeldElsewhere(DWORD error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION; }

// Writing is refused to any other open handle (with no sharing) and to the
// image of a running program or loaded library. A read-only file refuses
// every write open with access denied; reading with no sharing still finds a
// handle held on it.
bool FileIsHeld(const std::string& path) {
  DWORD error = OpenError(path, GENERIC_WRITE, 0, FILE_ATTRIBUTE_NORMAL);
  if (error == ERROR_ACCESS_DENIED) error = OpenError(path, GENERIC_READ, 0, FILE_ATTRIBUTE_NORMAL);
  return IsHeldElsewhere(error);
}

// Opened for deletion with everything shared, exactly as the folder's own
// deletion will open it: a handle that does not share deletion (a process's
// current folder) refuses it, a window merely showing the folder does not.
bool FolderIsHeld(const std::string& path) {
  return IsHeldElsewhere(OpenError(path, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   FILE_FLAG_BACKUP_SEMANTICS));
}

bool IsDotEntry(const char* name) { return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0; }

bool IsFolderLink(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
         (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

class Walk {
 public:
  Walk(bool lookForUse, bool foldersCanBeHeld) : lookForUse_(lookForUse), foldersCanBeHeld_(foldersCanBeHeld) {}

  // False once something in use is found: the walk ends there.
  bool File(const std::string& path) {
    if (lookForUse_ && FileIsHeld(path)) survey_.inUse = FromAnsi(path);
    return !survey_.inUse;
  }

  bool Folder(const std::string& path) {
    if (lookForUse_ && foldersCanBeHeld_ && FolderIsHeld(path)) {
      survey_.inUse = FromAnsi(path);
      return false;
    }
    WIN32_FIND_DATAA found{};
    UniqueHandle<HANDLE, CloseSearch> search(Valid(api::FindFirstFileA((path + "\\*").c_str(), &found)));
    if (!search) return true;
    do {
      if (IsDotEntry(found.cFileName)) continue;
      if (!Entry(path + "\\" + found.cFileName, found.dwFileAttributes)) return false;
    } while (api::FindNextFileA(search.Get(), &found));
    return true;
  }

  bool Entry(const std::string& path, DWORD attributes) {
    if (IsFolderLink(attributes)) {
      survey_.folderLinks.push_back(FromAnsi(path));
      return true;
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? Folder(path) : File(path);
  }

  TargetSurvey Result() const { return survey_; }

 private:
  bool lookForUse_;
  bool foldersCanBeHeld_;
  TargetSurvey survey_;
};

}  // namespace

TargetSurvey SurveyTargets(const std::vector<RemovalTarget>& targets, bool lookForUse, bool foldersCanBeHeld) {
  Walk walk(lookForUse, foldersCanBeHeld);
  for (const RemovalTarget& target : targets) {
    const std::string path = ToAnsi(target.path);
    const DWORD attributes = api::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) continue;  // not there: nothing to hold or follow
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && !target.isFolder) continue;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && target.isFolder) continue;
    if (!walk.Entry(path, attributes)) break;
  }
  return walk.Result();
}

}  // namespace qvn
