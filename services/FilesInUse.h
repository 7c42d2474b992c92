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

// The first file among `targets` (in their order, folders walked whole) that
// another program holds open, so that deleting it would fail part way: one
// that cannot be opened for reading with no sharing because of a sharing or
// lock violation. Each file is opened and closed at once. Any other refusal
// (access denied, not there, gone meanwhile) does not count: the removal then
// meets it and reports it as usual. A folder that is a reparse point is not
// entered, since the removal deletes the link and not what it leads to.
// Nothing when no file is in use.
std::optional<std::wstring> FirstFileInUse(const std::vector<RemovalTarget>& targets);

}  // namespace qvn
