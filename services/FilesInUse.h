#pragma once
#include <optional>
#include <string>
#include <vector>

namespace qvn {

// Something the removal would delete: a file, or a folder with everything in it.
struct RemovalTarget {
  std::wstring path;
  bool isFolder;
};

// What a walk of the targets found, in their order, folders walked whole.
struct TargetSurvey {
  // The first file or folder that cannot go now because another program
  // holds it, so that deleting it would fail part way; nothing when none is.
  std::optional<std::wstring> inUse;
  // Every folder link (a junction, a symbolic link or a mounted folder) among
  // or inside the targets. The walk does not enter them: a forced folder
  // deletion would follow them and delete what they lead to, so the removal
  // takes each away by itself first.
  std::vector<std::wstring> folderLinks;
};

// Walks the targets. With `lookForUse`, each file is opened and closed at once
// in the ways that fail where its deletion would fail for being in use: for
// writing with no sharing (an open handle, a running program, a loaded
// library), and where a read-only file refuses that with access denied, for
// reading with no sharing. With `foldersCanBeHeld` (the NT family, whose
// folders can be opened), each folder is opened for deletion as the removal
// will open it, which another program's current folder refuses. Only a sharing
// or lock violation counts; any other refusal (access denied, gone meanwhile)
// is left to the removal to meet and report. The walk stops at the first
// target in use.
TargetSurvey SurveyTargets(const std::vector<RemovalTarget>& targets, bool lookForUse, bool foldersCanBeHeld);

}  // namespace qvn
