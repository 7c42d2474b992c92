#pragma once
#include <string>
#include <vector>

#include "services/PlatformTypes.h"

namespace qvn {

// Deletion at the next start on Windows 95/98/ME: "NUL=" lines in the
// [rename] section of WININIT.INI in the Windows folder (see WininitText.h),
// which the system carries out once and then puts aside. Files only: a
// folder cannot be deleted that way. 8-bit calls only.

// Adds a line for each of `files`, by its short path, to WININIT.INI, all at
// once and after the lines other programs wrote, every one of which is kept;
// the file is made when missing. ERROR_SUCCESS when the lines are there, else
// the system's error, with the file left as it was: a file that has no short
// path (not there) adds nothing, a read-only WININIT.INI refuses with
// ERROR_ACCESS_DENIED, and room for the longer file is taken before its
// first byte is written. A path already listed is listed again.
DWORD ScheduleDeletionsInWininit(const std::vector<std::wstring>& files);

// The paths of the "NUL=" lines WININIT.INI holds, in order, as they were
// written: short paths where this program wrote them, whatever another
// program wrote for its own. Nothing when there is no such file.
std::vector<std::wstring> DeletionsPendingInWininit();

}  // namespace qvn
