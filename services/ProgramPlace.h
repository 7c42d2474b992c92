#pragma once
#include <string>

namespace qvn {

// Where this program runs from and how it was started: its own file, its
// current folder and its command line, read whole on the NT family, where
// each may name a folder outside the code page.

// The full path of the running program's own file.
std::wstring ProgramFile();

// The program's current folder.
std::wstring CurrentFolder();

// Makes the Windows folder the program's current folder, so that it holds no
// other folder open; false when it cannot.
bool MoveToWindowsFolder();

// The command line the program was started with.
std::wstring CommandLineText();

}  // namespace qvn
