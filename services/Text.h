#pragma once
#include <string>

namespace qvn {

// The tool holds text as wide strings and converts it, in the system's default
// 8-bit code page, only where it calls the 8-bit form of a platform function.

// A character the code page has no place for becomes '?', which no file name
// holds, and never the look-alike that Windows' best fit would put there
// ("\u0141ukasz" must not read "Lukasz", another folder's name). Each
// character is checked by converting it back, since the flag that turns best
// fit off is unknown to 95 and NT 4.0.
std::string ToAnsi(const std::wstring& text);
std::wstring FromAnsi(const std::string& text);

}  // namespace qvn
