#include "services/RegistryText.h"

#include "services/PlatformApi.h"
#include "services/ReadRegValue.h"
#include "services/RegKey.h"
#include "services/SystemText.h"
#include "services/Text.h"

namespace qvn {
namespace {

// Value names the shell and installers write are short; a longer one is
// passed over rather than read in pieces.
constexpr DWORD kNameRoom = 256;
// A key of the system's never holds this many values; the bound keeps a
// registry that misreports from looping the tool.
constexpr DWORD kMostValues = 1000;

std::wstring TextOf(const RegValue& value) {
  const auto* text = std::get_if<std::wstring>(&value);
  return text != nullptr ? *text : std::wstring();
}

// The name and type of the value at `index`, by the form the running family
// names values with; the enumeration's result, ERROR_MORE_DATA for a name
// too long to be read whole.
LONG ValueAt(HKEY key, DWORD index, std::wstring& name, DWORD& type) {
  DWORD nameChars = kNameRoom;
  LONG result = ERROR_SUCCESS;
  if (NamesInUnicode()) {
    wchar_t wide[kNameRoom] = {};
    result = api::RegEnumValueW(key, index, wide, &nameChars, nullptr, &type, nullptr, nullptr);
    if (result == ERROR_SUCCESS && nameChars < kNameRoom) name.assign(wide, nameChars);
  } else {
    char narrow[kNameRoom] = {};
    result = api::RegEnumValueA(key, index, narrow, &nameChars, nullptr, &type, nullptr, nullptr);
    if (result == ERROR_SUCCESS && nameChars < kNameRoom) name = FromAnsi(std::string(narrow, nameChars));
  }
  return result == ERROR_SUCCESS && nameChars >= kNameRoom ? ERROR_MORE_DATA : result;
}

}  // namespace

std::wstring ReadTextValue(HKEY root, const std::wstring& path, const std::wstring& valueName) {
  RegKey key = OpenKeyForReading(root, path);
  if (!key) return {};
  return TextOf(QueryValue(key.Get(), valueName));
}

std::vector<std::wstring> ReadTextValues(HKEY root, const std::wstring& path) {
  std::vector<std::wstring> texts;
  RegKey key = OpenKeyForReading(root, path);
  if (!key) return texts;
  for (DWORD index = 0; index < kMostValues; ++index) {
    std::wstring name;
    DWORD type = REG_NONE;
    const LONG result = ValueAt(key.Get(), index, name, type);
    if (result == ERROR_MORE_DATA) continue;
    if (result != ERROR_SUCCESS) break;
    if (type != REG_SZ) continue;
    std::wstring text = TextOf(QueryValue(key.Get(), name));
    if (!text.empty()) texts.push_back(std::move(text));
  }
  return texts;
}

bool LocalMachineKeyExists(const std::wstring& path) {
  return static_cast<bool>(OpenKeyForReading(HKEY_LOCAL_MACHINE, path));
}

}  // namespace qvn
