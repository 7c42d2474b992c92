#include "services/Text.h"

#include "services/PlatformApi.h"

namespace qvn {
namespace {

// `chars` wide characters in the code page, as Windows converts them: with
// best fit, which the caller checks.
std::string Converted(const wchar_t* text, int chars) {
  const int bytes = api::WideCharToMultiByte(CP_ACP, 0, text, chars, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return {};
  std::string converted(static_cast<std::size_t>(bytes), '\0');
  api::WideCharToMultiByte(CP_ACP, 0, text, chars, converted.data(), bytes, nullptr, nullptr);
  return converted;
}

// A surrogate pair is one character, and converts or is lost as one.
int CharacterLength(const std::wstring& text, std::size_t at) {
  const bool pair = at + 1 < text.size() && text[at] >= 0xD800 && text[at] <= 0xDBFF && text[at + 1] >= 0xDC00 &&
                    text[at + 1] <= 0xDFFF;
  return pair ? 2 : 1;
}

}  // namespace

std::string ToAnsi(const std::wstring& text) {
  if (text.empty()) return {};
  std::string converted = Converted(text.data(), static_cast<int>(text.size()));
  if (FromAnsi(converted) == text) return converted;
  // Something was lost or changed: character by character, to find what.
  std::string checked;
  for (std::size_t at = 0; at < text.size();) {
    const int length = CharacterLength(text, at);
    const std::wstring character = text.substr(at, static_cast<std::size_t>(length));
    const std::string bytes = Converted(character.data(), length);
    checked += FromAnsi(bytes) == character ? bytes : std::string("?");
    at += static_cast<std::size_t>(length);
  }
  return checked;
}

std::wstring FromAnsi(const std::string& text) {
  if (text.empty()) return {};
  const int bytes = static_cast<int>(text.size());
  const int wideChars = api::MultiByteToWideChar(CP_ACP, 0, text.data(), bytes, nullptr, 0);
  if (wideChars <= 0) return {};
  std::wstring converted(static_cast<std::size_t>(wideChars), L'\0');
  api::MultiByteToWideChar(CP_ACP, 0, text.data(), bytes, converted.data(), wideChars);
  return converted;
}

}  // namespace qvn
