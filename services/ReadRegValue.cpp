#include "services/ReadRegValue.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "services/Concat.h"
#include "services/FunctionRef.h"
#include "services/PlatformApi.h"
#include "services/RegKey.h"
#include "services/SystemText.h"
#include "services/Text.h"

namespace qvn {
namespace {

// One query of the value, by the form the running family names it with.
using Query = FunctionRef<LONG(LPDWORD type, LPBYTE data, LPDWORD size)>;
// The text of a value's bytes, in the form they were read in.
using TextOfBytes = std::wstring (*)(const std::vector<BYTE>& bytes);

// 8-bit text, in the code page, up to its first terminator.
std::wstring TextOfAnsiBytes(const std::vector<BYTE>& bytes) {
  const auto terminator = std::find(bytes.begin(), bytes.end(), BYTE{0});
  return FromAnsi(std::string(bytes.begin(), terminator));
}

// UTF-16 text, as the NT family keeps it, up to its first terminator. The
// size is in bytes and may be odd: the half character at the end is dropped.
std::wstring TextOfWideBytes(const std::vector<BYTE>& bytes) {
  std::wstring text;
  for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
    const auto unit = static_cast<wchar_t>(bytes[at] | (bytes[at + 1] << 8));
    if (unit == L'\0') break;
    text += unit;
  }
  return text;
}

// The second query of a text value. The text ends at its first terminator and
// never reaches past the bytes the query wrote; a value stored without a
// terminator keeps all of them.
RegValue ReadText(Query query, DWORD size, TextOfBytes textOf) {
  if (size == 0) return std::wstring();
  std::vector<BYTE> buffer(size, 0);
  DWORD type = 0;
  DWORD written = size;
  if (query(&type, buffer.data(), &written) != ERROR_SUCCESS) return std::wstring();
  buffer.resize(std::min<DWORD>(written, size));
  return textOf(buffer);
}

// The second query of a number value, into a 4-byte cell asked for 4 bytes
// only: a larger value fails the query instead of overrunning the cell.
RegValue ReadNumber(Query query) {
  DWORD cell = 0;
  DWORD type = 0;
  DWORD size = sizeof cell;
  if (query(&type, reinterpret_cast<BYTE*>(&cell), &size) != ERROR_SUCCESS) return std::int32_t{-1};
  return static_cast<std::int32_t>(cell);
}

RegValue QueryWith(Query query, TextOfBytes textOf) {
  DWORD type = 0;
  DWORD size = 0;
  query(&type, nullptr, &size);
  if (type == REG_SZ) return ReadText(query, size, textOf);
  if (type == REG_DWORD) return ReadNumber(query);
  return {};
}

}  // namespace

RegValue QueryValue(HKEY key, const std::wstring& valueName) {
  if (NamesInUnicode()) {
    return QueryWith(
        [&](LPDWORD type, LPBYTE data, LPDWORD size) {
          return api::RegQueryValueExW(key, valueName.c_str(), nullptr, type, data, size);
        },
        &TextOfWideBytes);
  }
  const std::string name = ToAnsi(valueName);
  return QueryWith(
      [&](LPDWORD type, LPBYTE data, LPDWORD size) {
        return api::RegQueryValueExA(key, name.c_str(), nullptr, type, data, size);
      },
      &TextOfAnsiBytes);
}

RegValue ReadRegValue(const std::wstring& settingsKey, const std::wstring& subkeyName,
                      const std::wstring& valueName) {
  RegKey key = OpenLocalMachineKey(Concat({settingsKey, L"\\", subkeyName}));
  RegValue result = QueryValue(key.Get(), valueName);
  CloseKey(key);
  return result;
}

}  // namespace qvn
