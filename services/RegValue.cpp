#include "services/RegValue.h"

namespace qvn {

std::wstring ToText(const RegValue& value) {
  if (const auto* text = std::get_if<std::wstring>(&value)) return *text;
  if (const auto* number = std::get_if<std::int32_t>(&value)) return std::to_wstring(*number);
  return {};
}

}  // namespace qvn
