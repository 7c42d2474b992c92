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

}  // namespace qvn
