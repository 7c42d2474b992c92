#include "services/RegValue.h"

#include "services/DecimalText.h"

namespace qvn {

std::wstring ToText(const RegValue& value) {
  if (const auto* text = std::get_if<std::wstring>(&value)) return *text;
  if (const auto* number = std::get_if<std::int32_t>(&value)) return DecimalText(*number);
  return {};
}

}  // namespace qvn
