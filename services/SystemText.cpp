#include "services/SystemText.h"

#include <vector>

#include "services/Text.h"
#include "services/VersionQuery.h"

namespace qvn {
namespace {

// The text in `buffer` up to `length` characters or its first terminator.
template <typename Char>
std::basic_string<Char> Answered(const std::vector<Char>& buffer, DWORD length, DWORD room) {
  if (length == 0 || length >= room) return {};
  const std::basic_string<Char> text(buffer.data(), length);
  return text.substr(0, text.find(Char{0}));
}

}  // namespace

bool NamesInUnicode() { return RunsOnNtFamily(); }

std::wstring FilledText(FunctionRef<DWORD(wchar_t* buffer, DWORD room)> wide,
                        FunctionRef<DWORD(char* buffer, DWORD room)> narrow, DWORD room) {
  if (NamesInUnicode()) {
    std::vector<wchar_t> buffer(room, L'\0');
    return Answered(buffer, wide(buffer.data(), room), room);
  }
  std::vector<char> buffer(room, '\0');
  return FromAnsi(Answered(buffer, narrow(buffer.data(), room), room));
}

}  // namespace qvn
