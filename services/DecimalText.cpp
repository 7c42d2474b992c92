#include "services/DecimalText.h"

namespace qvn {

std::string ZeroPadded(std::uint32_t number, std::size_t width) {
  char digits[10];  // 4294967295, the largest, has ten
  std::size_t first = sizeof digits;
  do {
    digits[--first] = static_cast<char>('0' + number % 10);
    number /= 10;
  } while (number != 0);
  std::string text(digits + first, digits + sizeof digits);
  if (text.size() < width) text.insert(0, width - text.size(), '0');
  return text;
}

std::wstring DecimalText(std::int32_t number) {
  // The magnitude in unsigned arithmetic: the most negative number's has no
  // signed counterpart.
  const std::uint32_t magnitude =
      number < 0 ? 0u - static_cast<std::uint32_t>(number) : static_cast<std::uint32_t>(number);
  const std::string digits = ZeroPadded(magnitude, 1);
  std::wstring text = number < 0 ? L"-" : L"";
  text.append(digits.begin(), digits.end());
  return text;
}

std::string TimestampText(const SYSTEMTIME& time) {
  return ZeroPadded(time.wYear, 4) + "-" + ZeroPadded(time.wMonth, 2) + "-" + ZeroPadded(time.wDay, 2) + " " +
         ZeroPadded(time.wHour, 2) + ":" + ZeroPadded(time.wMinute, 2) + ":" + ZeroPadded(time.wSecond, 2);
}

}  // namespace qvn
