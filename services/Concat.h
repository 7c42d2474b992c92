#pragma once
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace qvn {

// One piece of a text that Concat puts together: a literal, a string or a
// view, read where it lies and never copied on its own.
class TextPiece {
 public:
  template <std::size_t N>
  TextPiece(const wchar_t (&literal)[N]) : text_(literal, N - 1) {}  // NOLINT: a literal converts at the call
  TextPiece(const std::wstring& text) : text_(text) {}                // NOLINT: as a string converts
  TextPiece(std::wstring_view text) : text_(text) {}                  // NOLINT: as a view converts

  std::wstring_view Text() const { return text_; }

 private:
  std::wstring_view text_;
};

// The pieces one after another, made with one allocation:
// Concat({L"Step ", number, L": ", target}). The log lines, listings and
// messages are put together from several pieces each, and `a + b + c` makes
// a whole string, and the code to free it on every way out, for each `+`.
std::wstring Concat(std::initializer_list<TextPiece> pieces);

// The texts one after another with `separator` between each two of them.
std::wstring Joined(const std::vector<std::wstring>& texts, std::wstring_view separator);

}  // namespace qvn
