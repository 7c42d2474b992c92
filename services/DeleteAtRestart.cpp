#include "services/DeleteAtRestart.h"

#include <algorithm>
#include <iterator>

#include "services/LastError.h"
#include "services/PlatformApi.h"
#include "services/RegKey.h"

namespace qvn {
namespace {

const wchar_t kSessionManager[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";
const wchar_t* const kPendingLists[] = {L"PendingFileRenameOperations", L"PendingFileRenameOperations2"};
const wchar_t kNtPrefix[] = L"\\??\\";
// Reads of a list that keeps growing between its size query and its read.
constexpr int kReadAttempts = 4;

// The value's bytes, read whole; nothing unless it is a list of texts. The
// list may grow between the size query and the read: a read told there is
// more is made again, with the room it was told.
std::vector<BYTE> ReadList(HKEY key, const wchar_t* name) {
  DWORD type = REG_NONE;
  DWORD size = 0;
  if (api::RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
  for (int attempt = 0; attempt < kReadAttempts && type == REG_MULTI_SZ && size != 0; ++attempt) {
    std::vector<BYTE> data(size);
    DWORD written = size;
    const LONG result = api::RegQueryValueExW(key, name, nullptr, &type, data.data(), &written);
    if (result == ERROR_SUCCESS) {
      data.resize(std::min(written, size));
      return type == REG_MULTI_SZ ? data : std::vector<BYTE>();
    }
    if (result != ERROR_MORE_DATA) break;
    size = written;
  }
  return {};
}

// The texts of a list stored in UTF-16, in order. An empty text is one too:
// it is the destination of a deletion. The list's closing terminator gives
// no text of its own.
std::vector<std::wstring> Texts(const std::vector<BYTE>& data) {
  std::vector<std::wstring> texts;
  std::wstring text;
  for (std::size_t at = 0; at + 1 < data.size(); at += 2) {
    const auto unit = static_cast<wchar_t>(data[at] | (data[at + 1] << 8));
    if (unit != L'\0') {
      text += unit;
    } else {
      texts.push_back(text);
      text.clear();
    }
  }
  if (!text.empty()) texts.push_back(text);  // a list stored without its terminators
  return texts;
}

// Each deletion of a list of pairs: a source, then an empty destination.
// The list ends at the first empty source.
void AddDeletions(const std::vector<std::wstring>& texts, std::vector<std::wstring>& deletions) {
  for (std::size_t at = 0; at + 1 < texts.size() && !texts[at].empty(); at += 2) {
    if (!texts[at + 1].empty()) continue;  // a rename
    const std::wstring& source = texts[at];
    deletions.push_back(source.rfind(kNtPrefix, 0) == 0 ? source.substr(std::size(kNtPrefix) - 1) : source);
  }
}

}  // namespace

DWORD ScheduleDeletionAtRestart(const std::wstring& path) {
  const LastError lastError;
  return api::MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) ? ERROR_SUCCESS : lastError();
}

std::vector<std::wstring> DeletionsPendingAtRestart() {
  RegKey key = OpenKeyForReading(HKEY_LOCAL_MACHINE, kSessionManager);
  std::vector<std::wstring> deletions;
  if (!key) return deletions;
  for (const wchar_t* name : kPendingLists) AddDeletions(Texts(ReadList(key.Get(), name)), deletions);
  return deletions;
}

}  // namespace qvn
