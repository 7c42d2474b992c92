#pragma once
#include <string>
#include <vector>

namespace qvn {

// One program's entry in the list of installed programs, a key below
// HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall, with the values
// that say where the program lives. A value that is no text (REG_SZ or
// REG_EXPAND_SZ) reads as the empty text; REG_EXPAND_SZ is expanded, and in
// the 64-bit view %ProgramFiles% is the 64-bit Program Files, as the 64-bit
// programs that wrote it meant.
struct UninstallEntry {
  std::wstring key;  // the key's own name
  bool in64BitView = false;
  std::wstring displayName;
  std::wstring installLocation;
  std::wstring displayIcon;
  std::wstring uninstallString;
};

// Every entry of the registry view this program sees and, when it runs as a
// 32-bit program on 64-bit Windows, of the 64-bit view too. Only a WOW64
// process asks for the 64-bit view: Windows 2000 refuses the view flag, and
// a 32-bit Windows would answer from its one view again. The NT family reads
// with the wide forms, 95/98/ME with the 8-bit ones. Registry refusals are
// silent: a view or an entry that cannot be opened gives nothing. Raises
// Failure only when a function the family needs cannot be bound.
std::vector<UninstallEntry> ReadUninstallEntries(bool ntFamily);

}  // namespace qvn
