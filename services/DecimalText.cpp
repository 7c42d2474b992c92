#include "services/DecimalText.h"

namespace qvn {

std::string ZeroPadded(std::uint32_t number, std::size_t width) {
  char digits[10];  // 4294967295, the largest, has ten
  std::size_t first = sizeof digits;
  do {
    digits[--first] = static_cast<char>('0' + number % 10);
    number /= 10;
  } while (number != 0);
  const std::size_t count = sizeof digits - first;
  std::string text(width > count ? width - count : 0, '0');
  text.append(digits + first, count);
  return text;
}

std::wstring DecimalText(std::int32_t number) {
  // The magnitude in unsigned arithmetic: the most negative number's has no
  // signed counterpart.
  const std::uint32_t magnitude =
      number < 0 ? 0u - static_cast<std::uint32_t>(number) : static_cast<std::uint32_t>(number);
  std::wstring text = number < 0 ? L"-" : L"";
  for (const char digit : ZeroPadded(magnitude, 1)) text += static_cast<wchar_t>(digit);
  return text;
}

std::wstring GroupedDecimalText(std::uint64_t number) {
  std::wstring text;
  for (int digits = 0; digits == 0 || number != 0; ++digits, number /= 10) {
    if (digits != 0 && digits % 3 == 0) text.insert(text.begin(), L',');
    text.insert(text.begin(), static_cast<wchar_t>(L'0' + number % 10));
  }
  return text;
}

std::string TimestampText(const SYSTEMTIME& time) {
  struct Field {
    std::uint32_t value;
    std::size_t width;
    const char* after;
  };
  const Field fields[] = {{time.wYear, 4, "-"},   {time.wMonth, 2, "-"},  {time.wDay, 2, " "},
                          {time.wHour, 2, ":"},   {time.wMinute, 2, ":"}, {time.wSecond, 2, ""}};
  std::string text;
  for (const Field& field : fields) text.append(ZeroPadded(field.value, field.width)).append(field.after);
  return text;
}

}  // namespace qvn
