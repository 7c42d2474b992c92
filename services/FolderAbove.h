#pragma once
#include <string>

namespace qvn {

// The folder that holds `path`: "C:\A\B" gives "C:\A", "C:\A" gives "C:",
// the drive; "C:", "C:\" and a name without a folder give nothing. Closing
// separators do not count. Only the text is looked at.
std::wstring FolderAbove(std::wstring path);

}  // namespace qvn
