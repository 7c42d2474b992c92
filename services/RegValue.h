#pragma once
#include <cstdint>
#include <string>
#include <variant>

namespace qvn {

// What a registry read yields: nothing, text, or a signed 32-bit number.
using RegValue = std::variant<std::monostate, std::wstring, std::int32_t>;

// Nothing gives the empty text; a number its decimal digits, a minus sign first
// when negative.
std::wstring ToText(const RegValue& value);

}  // namespace qvn
