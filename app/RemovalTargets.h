#pragma once
#include <string>
#include <vector>

#include "app/RemovalPlan.h"
#include "services/FilesInUse.h"

namespace qvn {

// The files and folders the plan deletes, in its order: the desktop shortcut,
// the program group and the install folder as the guard decided it (left out
// when it is skipped).
std::vector<RemovalTarget> RemovalTargets(const RemovalPlan& plan);

// Whether `path` is one of the target files, or lies in one of the target
// folders, by any of its names (long or short, through a subst drive) or by
// what the folders above it are (a second drive letter, a junction); the path
// itself need not be there yet.
bool LiesInTargets(const std::wstring& path, const std::vector<RemovalTarget>& targets);

// What is there to be walked: folder links found too, nothing checked for use.
TargetSurvey FolderLinksIn(const RemovalPlan& plan, bool ntFamily);

}  // namespace qvn
