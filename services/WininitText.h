#pragma once
#include <string>
#include <vector>

namespace qvn {

// The [rename] section of WININIT.INI, as its text (the file's bytes, in the
// system's code page). Windows 95/98/ME carry its lines out at their next
// start, before Windows itself loads, and only then: a line "NUL=path"
// deletes the file at `path`, a line "new=old" renames. What carries them out
// knows no long names, so the paths are 8.3 ones. Every line has the same
// key "NUL", which is why the lines are written as text here: a profile
// function would keep one of them.

// `text` with a line "NUL=<path>" for each of `paths`, in order, after the
// last line of its first [rename] section (its name in any case), or in a
// new [rename] section at the end when it has none. Every byte of `text`
// is kept; the new lines end with "\r\n".
std::string WithDeletionLines(const std::string& text, const std::vector<std::string>& paths);

// The paths of the "NUL=" lines of every [rename] section of `text`, in
// order, as written.
std::vector<std::string> DeletionLines(const std::string& text);

}  // namespace qvn
