#pragma once
#include <string>
#include <vector>

namespace qvn {

// The full form of a path as the platform resolves it ("." and ".." applied);
// empty when it cannot.
std::wstring FullPathOf(const std::wstring& path);

// The 8.3 form of an existing path; empty when there is none or it is not there.
std::wstring ShortPathOf(const std::wstring& path);

// The folders this machine reports as its own: the Windows and system
// folders, Program Files and Common Files, and the user's profile folder.
// A folder the machine does not report is left out.
std::vector<std::wstring> ReportedSystemFolders();

}  // namespace qvn
