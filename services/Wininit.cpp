#include "services/Wininit.h"

#include "services/KernelHandle.h"
#include "services/LastError.h"
#include "services/PlatformApi.h"
#include "services/Text.h"
#include "services/WininitText.h"

namespace qvn {
namespace {

constexpr DWORD kRoom = 1024;

HANDLE Valid(HANDLE handle) { return handle == INVALID_HANDLE_VALUE ? nullptr : handle; }

// "C:\WINDOWS\WININIT.INI"; empty when the Windows folder is not told.
std::string WininitPath() {
  char windows[kRoom] = {};
  const UINT length = api::GetWindowsDirectoryA(windows, kRoom);
  if (length == 0 || length >= kRoom) return {};
  std::string path(windows, length);
  if (path.back() != '\\') path += '\\';
  return path + "WININIT.INI";
}

// The 8.3 form of an existing file; empty, with the system's error in
// `error`, when it has none.
std::string ShortPath(const std::wstring& file, DWORD& error) {
  const LastError lastError;
  char path[kRoom] = {};
  const DWORD length = api::GetShortPathNameA(ToAnsi(file).c_str(), path, kRoom);
  if (length == 0) error = lastError();
  if (length >= kRoom) error = static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER);
  return length == 0 || length >= kRoom ? std::string() : std::string(path, length);
}

// The file's bytes from its start; the system's error when they cannot be read.
DWORD ReadWhole(HANDLE file, std::string& text) {
  const LastError lastError;
  DWORD high = 0;
  const DWORD size = api::GetFileSize(file, &high);
  if (size == INVALID_FILE_SIZE) return lastError();
  if (high != 0) return static_cast<DWORD>(ERROR_INVALID_DATA);  // no WININIT.INI is 4 GiB
  text.assign(size, '\0');
  DWORD done = 0;
  while (done < size) {
    DWORD read = 0;
    if (!api::ReadFile(file, &text[done], size - done, &read, nullptr)) return lastError();
    if (read == 0) break;
    done += read;
  }
  text.resize(done);
  return ERROR_SUCCESS;
}

bool SetLength(HANDLE file, std::size_t length) {
  return api::SetFilePointer(file, static_cast<LONG>(length), nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
         api::SetEndOfFile(file);
}

bool WriteWhole(HANDLE file, const std::string& text) {
  DWORD written = 0;
  return api::SetFilePointer(file, 0, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
         api::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
         written == text.size();
}

// Puts `after`, a longer text, in place of the file's `before`. The file is
// made long enough first, so that a full disk refuses before a byte of it
// changes; a write that fails all the same puts `before` back.
DWORD Rewrite(HANDLE file, const std::string& before, const std::string& after) {
  const LastError lastError;
  if (!SetLength(file, after.size())) {
    const DWORD error = lastError();
    SetLength(file, before.size());
    return error;
  }
  if (WriteWhole(file, after)) return ERROR_SUCCESS;
  const DWORD error = lastError();
  WriteWhole(file, before);
  SetLength(file, before.size());
  return error != ERROR_SUCCESS ? error : static_cast<DWORD>(ERROR_WRITE_FAULT);
}

}  // namespace

DWORD ScheduleDeletionsInWininit(const std::vector<std::wstring>& files) {
  if (files.empty()) return ERROR_SUCCESS;
  std::vector<std::string> paths;
  for (const std::wstring& file : files) {
    DWORD error = ERROR_SUCCESS;
    paths.push_back(ShortPath(file, error));
    if (paths.back().empty()) return error;
  }
  const std::string wininit = WininitPath();
  if (wininit.empty()) return static_cast<DWORD>(ERROR_PATH_NOT_FOUND);
  const LastError lastError;
  // Held with no sharing from the read to the write: no other program can
  // change it in between.
  const KernelHandle file(Valid(api::CreateFileA(wininit.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)));
  if (!file) return lastError();
  std::string before;
  if (const DWORD error = ReadWhole(file.Get(), before)) return error;
  return Rewrite(file.Get(), before, WithDeletionLines(before, paths));
}

std::vector<std::wstring> DeletionsPendingInWininit() {
  const std::string wininit = WininitPath();
  std::vector<std::wstring> paths;
  if (wininit.empty()) return paths;
  const KernelHandle file(Valid(api::CreateFileA(wininit.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
  std::string text;
  if (!file || ReadWhole(file.Get(), text) != ERROR_SUCCESS) return paths;
  for (const std::string& path : DeletionLines(text)) paths.push_back(FromAnsi(path));
  return paths;
}

}  // namespace qvn
