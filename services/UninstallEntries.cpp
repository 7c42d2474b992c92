#include "services/UninstallEntries.h"

#include <algorithm>
#include <string_view>

#include "services/Failure.h"
#include "services/InstalledProgramsApi.h"
#include "services/PlatformApi.h"
#include "services/RegKey.h"
#include "services/SameText.h"
#include "services/Text.h"

namespace qvn {
namespace {

const wchar_t kUninstallKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const wchar_t kCurrentVersion[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const std::wstring_view kProgramFiles = L"%ProgramFiles%";

// Key names have at most 255 characters.
constexpr DWORD kKeyNameRoom = 256;
// A machine has a few thousand entries at most; the bound keeps a registry
// that misreports from looping the tool.
constexpr DWORD kMostEntries = 65536;
// Paths, icons and command lines are far shorter; a longer value is passed
// over rather than read.
constexpr DWORD kMostValueBytes = 65536;

// Missing where no 64-bit Windows can be: on 95/98/ME, and on the NT family
// before XP SP2 and Server 2003 SP1.
bool RunsUnderWow64() {
  api::IsWow64ProcessFn ask = nullptr;
  try {
    ask = api::IsWow64Process.Resolve();
  } catch (const Failure&) {
    return false;
  }
  BOOL wow64 = 0;
  return ask(api::GetCurrentProcess(), &wow64) && wow64;
}

// Text as the NT family's registry keeps it, UTF-16, up to its first
// terminator or its last whole unit: a value may be stored without a
// terminator, and with an odd count of bytes.
std::wstring FromUtf16(const std::vector<BYTE>& data) {
  std::wstring text;
  for (std::size_t at = 0; at + 1 < data.size(); at += 2) {
    const auto unit = static_cast<wchar_t>(data[at] | (data[at + 1] << 8));
    if (unit == L'\0') break;
    text += unit;
  }
  return text;
}

std::wstring FromCodePage(const std::vector<BYTE>& data) {
  return FromAnsi(std::string(data.begin(), std::find(data.begin(), data.end(), BYTE{0})));
}

// `text` with every %ProgramFiles% (in any case) replaced by `folder`.
std::wstring WithProgramFiles(const std::wstring& text, const std::wstring& folder) {
  std::wstring replaced;
  for (std::size_t at = 0; at < text.size();) {
    if (StartsWithText(std::wstring_view(text).substr(at), kProgramFiles)) {
      replaced += folder;
      at += kProgramFiles.size();
    } else {
      replaced += text[at++];
    }
  }
  return replaced;
}

// The environment's values in place of the %NAME%s of `text`, as Windows
// expands them; the text as it is when it cannot.
template <typename Char, typename Expand>
std::basic_string<Char> ExpandedWith(const std::basic_string<Char>& text, Expand expand) {
  const DWORD needed = expand(text.c_str(), nullptr, 0);
  if (needed == 0 || needed > kMostValueBytes) return text;
  std::vector<Char> expanded(needed + 1, Char{});
  const DWORD written = expand(text.c_str(), expanded.data(), needed);
  if (written == 0 || written > needed) return text;
  return expanded.data();
}

// A value's type and bytes; nothing for one that is missing or too long.
struct RawValue {
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
};

template <typename Query>
RawValue ReadRaw(Query query) {
  RawValue value;
  DWORD size = 0;
  if (query(&value.type, nullptr, &size) != ERROR_SUCCESS || size == 0 || size > kMostValueBytes) return {};
  value.data.resize(size);
  DWORD written = size;
  if (query(&value.type, value.data.data(), &written) != ERROR_SUCCESS) return {};
  value.data.resize(std::min(written, size));
  return value;
}

// One registry view, read only, in the forms the running family names keys
// with: the wide ones on the NT family, the 8-bit ones on 95/98/ME.
class ViewReader {
 public:
  ViewReader(bool wide, REGSAM view) : wide_(wide), view_(view) {}

  // For the 64-bit view: the folder its %ProgramFiles% names.
  void SetProgramFiles(std::wstring folder) { programFiles_ = std::move(folder); }

  RegKey Open(HKEY root, const std::wstring& path) const {
    HKEY opened = nullptr;
    const REGSAM access = KEY_READ | view_;
    const LONG result = wide_ ? api::RegOpenKeyExW(root, path.c_str(), 0, access, &opened)
                              : api::RegOpenKeyExA(root, ToAnsi(path).c_str(), 0, access, &opened);
    return RegKey(result == ERROR_SUCCESS ? opened : nullptr);
  }

  // The name of the subkey at `index` into `name`; the enumeration's result.
  LONG SubkeyName(HKEY key, DWORD index, std::wstring& name) const {
    DWORD chars = kKeyNameRoom;
    if (wide_) {
      wchar_t buffer[kKeyNameRoom] = {};
      const LONG result = api::RegEnumKeyExW(key, index, buffer, &chars, nullptr, nullptr, nullptr, nullptr);
      if (result == ERROR_SUCCESS) name.assign(buffer, std::min(chars, kKeyNameRoom - 1));
      return result;
    }
    char buffer[kKeyNameRoom] = {};
    const LONG result = api::RegEnumKeyExA(key, index, buffer, &chars, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_SUCCESS) name = FromAnsi(std::string(buffer, std::min(chars, kKeyNameRoom - 1)));
    return result;
  }

  // A text value, REG_EXPAND_SZ expanded; empty for any other type.
  std::wstring Text(HKEY key, const wchar_t* name) const {
    const std::string narrowName = wide_ ? std::string() : ToAnsi(name);
    const RawValue value = ReadRaw([&](DWORD* type, BYTE* data, DWORD* size) {
      return wide_ ? api::RegQueryValueExW(key, name, nullptr, type, data, size)
                   : api::RegQueryValueExA(key, narrowName.c_str(), nullptr, type, data, size);
    });
    if (value.type != REG_SZ && value.type != REG_EXPAND_SZ) return {};
    const std::wstring text = wide_ ? FromUtf16(value.data) : FromCodePage(value.data);
    return value.type == REG_EXPAND_SZ ? Expanded(text) : text;
  }

  std::wstring Expanded(const std::wstring& text) const {
    const std::wstring named = programFiles_.empty() ? text : WithProgramFiles(text, programFiles_);
    if (wide_) {
      return ExpandedWith(named, [](LPCWSTR from, LPWSTR to, DWORD room) {
        return api::ExpandEnvironmentStringsW(from, to, room);
      });
    }
    return FromAnsi(ExpandedWith(ToAnsi(named), [](LPCSTR from, LPSTR to, DWORD room) {
      return api::ExpandEnvironmentStringsA(from, to, room);
    }));
  }

 private:
  bool wide_;
  REGSAM view_;
  std::wstring programFiles_;
};

// Where 64-bit programs live: ProgramW6432, from Windows 7 on; before it, the
// 64-bit view's ProgramFilesDir, which a 32-bit program sees nowhere else.
std::wstring ProgramFiles64(const ViewReader& view64) {
  const std::wstring named = view64.Expanded(L"%ProgramW6432%");
  if (named.find(L'%') == std::wstring::npos) return named;
  const RegKey key = view64.Open(HKEY_LOCAL_MACHINE, kCurrentVersion);
  return view64.Text(key.Get(), L"ProgramFilesDir");
}

void ReadView(const ViewReader& reader, bool in64BitView, std::vector<UninstallEntry>& entries) {
  const RegKey list = reader.Open(HKEY_LOCAL_MACHINE, kUninstallKey);
  if (!list) return;
  std::wstring name;
  for (DWORD index = 0; index < kMostEntries; ++index) {
    const LONG result = reader.SubkeyName(list.Get(), index, name);
    if (result == ERROR_MORE_DATA) continue;  // longer than a key's name may be
    if (result != ERROR_SUCCESS) break;
    const RegKey entry = reader.Open(list.Get(), name);
    if (!entry) continue;
    entries.push_back({name, in64BitView, reader.Text(entry.Get(), L"DisplayName"),
                       reader.Text(entry.Get(), L"InstallLocation"), reader.Text(entry.Get(), L"DisplayIcon"),
                       reader.Text(entry.Get(), L"UninstallString")});
  }
}

}  // namespace

std::vector<UninstallEntry> ReadUninstallEntries(bool ntFamily) {
  std::vector<UninstallEntry> entries;
  ReadView(ViewReader(ntFamily, 0), false, entries);
  if (ntFamily && RunsUnderWow64()) {
    ViewReader view64(true, KEY_WOW64_64KEY);
    view64.SetProgramFiles(ProgramFiles64(view64));
    ReadView(view64, true, entries);
  }
  return entries;
}

}  // namespace qvn
