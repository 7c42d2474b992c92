#pragma once
#include <string>

namespace qvn {

// Where this program runs from: its own file and its current folder.

// The full path of the running program's own file.
std::wstring ProgramFile();

// The program's current folder.
std::wstring CurrentFolder();

// Makes the Windows folder the program's current folder, so that it holds no
// other folder open; false when it cannot.
bool MoveToWindowsFolder();

}  // namespace qvn
