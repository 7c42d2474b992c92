#include "services/Concat.h"

#include <algorithm>

namespace qvn {

std::wstring Concat(std::initializer_list<TextPiece> pieces) {
  std::size_t size = 0;
  for (const TextPiece& piece : pieces) size += piece.Text().size();
  std::wstring text(size, L'\0');
  wchar_t* end = text.data();
  for (const TextPiece& piece : pieces) end = std::copy(piece.Text().begin(), piece.Text().end(), end);
  return text;
}

std::wstring Joined(const std::vector<std::wstring>& texts, std::wstring_view separator) {
  std::wstring text;
  for (const std::wstring& each : texts) {
    if (&each != &texts.front()) text.append(separator.data(), separator.size());
    text += each;
  }
  return text;
}

}  // namespace qvn
