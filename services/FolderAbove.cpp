#include "services/FolderAbove.h"

namespace qvn {

std::wstring FolderAbove(std::wstring path) {
  while (!path.empty() && path.back() == L'\\') path.pop_back();
  const std::size_t separator = path.rfind(L'\\');
  return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

}  // namespace qvn
