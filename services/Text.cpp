#include "services/Text.h"

#include "services/PlatformApi.h"

namespace qvn {

std::string ToAnsi(const std::wstring& text) {
  if (text.empty()) return {};
  const int wideChars = static_cast<int>(text.size());
  const int bytes = api::WideCharToMultiByte(CP_ACP, 0, text.data(), wideChars, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return {};
  std::string converted(static_cast<std::size_t>(bytes), '\0');
  api::WideCharToMultiByte(CP_ACP, 0, text.data(), wideChars, converted.data(), bytes, nullptr, nullptr);
  return converted;
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
