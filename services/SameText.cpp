#include "services/SameText.h"

#include <algorithm>
#include <cwctype>

namespace qvn {

bool SameText(std::wstring_view a, std::wstring_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](wchar_t x, wchar_t y) { return std::towlower(x) == std::towlower(y); });
}

bool StartsWithText(std::wstring_view text, std::wstring_view start) {
  return SameText(text.substr(0, start.size()), start);
}

bool LiesInsideFolder(std::wstring_view path, std::wstring_view folder) {
  return path.size() > folder.size() && path[folder.size()] == L'\\' && StartsWithText(path, folder);
}

}  // namespace qvn
