#pragma once
#include <string>
#include <vector>

namespace qvn {

// The full form of a path as the platform resolves it ("." and ".." applied);
// empty when it cannot.
std::wstring FullPathOf(const std::wstring& path);

// The 8.3 form of an existing path; empty when there is none, when it is not
// there, or when it lies on a server, which is never asked for it.
std::wstring ShortPathOf(const std::wstring& path);

// The Windows folder; empty when the system does not tell it.
std::wstring WindowsFolder();

// The folders this machine reports as its own. A folder the machine does not
// report is left out.
struct ReportedFolders {
  // The Windows and system folders, Common Files (both, on 64-bit Windows),
  // the profile folders (the current user's, all users' and the folder that
  // holds them) and every folder the shell names, for all users and for the
  // current user.
  std::vector<std::wstring> system;
  // Program Files: applications live inside it. On 64-bit Windows both of
  // them, the 32-bit one and the 64-bit one.
  std::vector<std::wstring> programFiles;
};
ReportedFolders ReportedSystemFolders();

}  // namespace qvn
