#include "services/ReadRegValue.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "services/Concat.h"
#include "services/PlatformApi.h"
#include "services/RegKey.h"
#include "services/Text.h"

namespace qvn {
namespace {

// The second query of a text value. The text ends at its first terminator and
// never reaches past the bytes the query wrote; a value stored without a
// terminator keeps all of them.
RegValue ReadText(HKEY key, const std::string& valueName, DWORD size) {
  if (size == 0) return std::wstring();
  std::vector<BYTE> buffer(size, 0);
  DWORD type = 0;
  DWORD written = size;
  if (api::RegQueryValueExA(key, valueName.c_str(), nullptr, &type, buffer.data(), &written) != ERROR_SUCCESS) {
    return std::wstring();
  }
  const auto end = buffer.begin() + std::min<DWORD>(written, size);
  const auto terminator = std::find(buffer.begin(), end, BYTE{0});
  return FromAnsi(std::string(buffer.begin(), terminator));
}

// The second query of a number value, into a 4-byte cell asked for 4 bytes
// only: a larger value fails the query instead of overrunning the cell.
RegValue ReadNumber(HKEY key, const std::string& valueName) {
  DWORD cell = 0;
  DWORD type = 0;
  DWORD size = sizeof cell;
  if (api::RegQueryValueExA(key, valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&cell), &size) !=
      ERROR_SUCCESS) {
    return std::int32_t{-1};
  }
  return static_cast<std::int32_t>(cell);
}

}  // namespace

RegValue QueryValue(HKEY key, const std::wstring& valueName) {
  const std::string name = ToAnsi(valueName);
  DWORD type = 0;
  DWORD size = 0;
  api::RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size);
  if (type == REG_SZ) return ReadText(key, name, size);
  if (type == REG_DWORD) return ReadNumber(key, name);
  return {};
}

RegValue ReadRegValue(const std::wstring& settingsKey, const std::wstring& subkeyName,
                      const std::wstring& valueName) {
  RegKey key = OpenLocalMachineKey(Concat({settingsKey, L"\\", subkeyName}));
  RegValue result = QueryValue(key.Get(), valueName);
  CloseKey(key);
  return result;
}

}  // namespace qvn
