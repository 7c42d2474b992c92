#pragma once
#include <optional>
#include <string>

#include "app/InstallFolderGuard.h"
#include "app/RemovalPlan.h"

namespace qvn {

// An installed program that is not Quorvane, by the name its entry in the
// list of installed programs gives it (its DisplayName, else its key's
// name), and a folder it lives in.
struct OtherProgram {
  std::wstring name;
  std::wstring folder;
};

// The first installed program whose folder `installFolder` is or holds, by
// any name of either and by what the folders are (as Place compares them). A
// program's folder that lies above the install folder (a drive, Program
// Files) takes nothing of it and does not count.
// Every entry counts but Quorvane's own: the key "Quorvane" in the registry
// view this program reads, which the removal deletes. The 64-bit view's
// "Quorvane" is another program's. An entry says where its program lives in
// InstallLocation, and in the folders of the file that DisplayIcon names and
// of the program that UninstallString starts:
// - quotes go, and a trailing icon index (",0", ",-101");
// - an unquoted command line with spaces ends where the longest part of it
//   that names an existing file ends, as CreateProcess reads it;
// - the programs of the Windows folder (MsiExec.exe, rundll32.exe, the
//   installer's cache) serve every program and tell of none;
// - a path that is not full (relative or drive-relative, such as
//   "unins000.exe" or "C:") is passed over, never resolved: the program's own
//   current folder may lie in the install folder then;
// - only folders that exist count.
// Nothing when no other program lives there.
std::optional<OtherProgram> OtherProgramIn(const std::wstring& installFolder, bool ntFamily);

// A decision to delete a folder that another installed program lives in
// becomes a refusal that stops the whole removal: Quorvane's files are really
// there, among the other program's, and with its keys gone nothing would ever
// find them again. A decision that deletes nothing stays as it is.
void RefuseAFolderAnotherProgramLivesIn(InstallFolderDecision& decision, bool ntFamily);

}  // namespace qvn
