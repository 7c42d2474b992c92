#pragma once
#include <string>

namespace qvn {

// The shell folders the removal looks in besides its fixed paths: on the NT
// family the all-users desktop and Start-menu programs, on 95/98/ME the
// running user's (the only ones that family has).
// The shell's own record of where its folders are, below HKEY_LOCAL_MACHINE
// (the "Common ..." values) and HKEY_CURRENT_USER (the user's).
inline constexpr wchar_t kShellFoldersKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

enum class ShellFolder { CommonDesktop, CommonPrograms, UserDesktop, UserPrograms };

// Where the running system keeps `folder`: asked of the shell, or where the
// shell has no answer (95 and NT 4.0 without the shell update lack the
// function), read from the shell's own record in the registry. Empty when
// neither answers. Never raises.
std::wstring ReportedShellFolder(ShellFolder folder);

}  // namespace qvn
