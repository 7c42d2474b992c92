#pragma once
#include <string>

namespace qvn {

// The tool holds text as wide strings and converts it, in the system's default
// 8-bit code page, only where it calls the 8-bit form of a platform function.
std::string ToAnsi(const std::wstring& text);
std::wstring FromAnsi(const std::string& text);

}  // namespace qvn
