#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "services/FunctionRef.h"
#include "services/PlatformTypes.h"

namespace qvn {

// Something the removal would delete: a file, or a folder with everything in it.
struct RemovalTarget {
  std::wstring path;
  bool isFolder;
};

// What a walk of the targets found, in their order, folders walked whole.
struct TargetSurvey {
  // Every file and folder that cannot go now because another program holds
  // it, so that deleting it would fail part way.
  std::vector<RemovalTarget> inUse;
  // Every folder link (a junction, a symbolic link or a mounted folder) among
  // or inside the targets. The walk does not enter them: a forced folder
  // deletion would follow them and delete what they lead to, so the removal
  // takes each away by itself first.
  std::vector<std::wstring> folderLinks;
  // A folder inside the targets that is there but cannot be listed, and the
  // platform's error: what is in it, links and files in use alike, cannot be
  // known, so nothing may be removed. The walk ends there.
  std::optional<std::wstring> unlisted;
  DWORD unlistedError = 0;
  // How many files and folders each target is, itself and all the walk met
  // inside it, in the targets' order: 0 for one that is not there.
  std::vector<std::size_t> entries;
};

// Told, every few hundred files and folders, how many the walk has met so
// far: a window keeps itself alive there.
using WalkProgress = FunctionRef<void(std::size_t walked)>;

// Walks the targets; on the NT family by their wide names, so that a name
// outside the system's code page is walked too. With `lookForUse`, each file
// is opened and closed at once in the ways that fail where its deletion would
// fail for being in use: for writing with no sharing (an open handle, a
// running program, a loaded library), and where a read-only file refuses that
// with access denied, for reading with no sharing. On the NT family, whose
// folders can be opened, each folder is also opened for deletion as the
// removal will open it, which another program's current folder refuses. Only
// a sharing or lock violation counts; any other refusal (access denied, gone
// meanwhile) is left to the removal to meet and report.
TargetSurvey SurveyTargets(const std::vector<RemovalTarget>& targets, bool lookForUse, bool ntFamily);
TargetSurvey SurveyTargets(const std::vector<RemovalTarget>& targets, bool lookForUse, bool ntFamily,
                           const WalkProgress& progress);

}  // namespace qvn
