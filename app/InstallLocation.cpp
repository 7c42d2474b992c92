#include "app/InstallLocation.h"

namespace qvn {

std::wstring InstallLocationFrom(const RegValue& value) {
  std::wstring text = ToText(value);
  if (text.empty()) return kLocationNotFound;
  // The installer stores the folder with a closing separator. Only that is
  // dropped: cutting any other last character would name a different folder.
  if (text.back() == L'\\') text.pop_back();
  return text;
}

}  // namespace qvn
