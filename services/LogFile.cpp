#include "services/LogFile.h"

#include "services/ComputerName.h"
#include "services/DecimalText.h"
#include "services/PlatformApi.h"
#include "services/Text.h"

namespace qvn {
namespace {

// Another run holds its lock for the moment of one line: a write or lock that
// meets it is tried again, for about a second in all, before the log ends.
constexpr int kTries = 50;
constexpr DWORD kPauseMs = 20;

// A program that holds the whole log without sharing it (a viewer that locks
// what it shows) may let go in a moment: the open is tried for five seconds.
constexpr int kOpenTries = 250;

// 95/98/ME lock the whole of any log a run could write, from its start, so
// that no other run can write while one moves to the end and writes there.
// Below 2 GiB, which servers of every age lock alike.
constexpr DWORD kLockedBytes = 0x7FFFFFFF;

std::string Timestamp() {
  SYSTEMTIME now{};
  api::GetLocalTime(&now);
  return TimestampText(now);
}

// The computer's name, which says in a shared log which machine wrote a
// line; "?" when the system will not tell it.
std::string NameOfThisComputer() {
  const std::wstring name = ComputerName();
  return name.empty() ? std::string("?") : ToAnsi(name);
}

// Runs `attempt` until it succeeds, fails for another reason than another
// program's hold on the file, or has been tried `tries` times; the error of
// the last try that failed goes to `error`.
template <typename Attempt>
bool RetriedWhileHeld(Attempt attempt, int tries, DWORD& error) {
  // Bound first, so that binding cannot change the error read after a try.
  const auto lastError = api::GetLastError.Resolve();
  const auto pause = api::Sleep.Resolve();
  for (int tried = 1;; ++tried) {
    if (attempt()) return true;
    error = lastError();
    const bool held = error == static_cast<DWORD>(ERROR_LOCK_VIOLATION) ||
                      error == static_cast<DWORD>(ERROR_SHARING_VIOLATION);
    if (tried == tries || !held) return false;
    pause(kPauseMs);
  }
}

template <typename Attempt>
bool RetriedWhileLocked(Attempt attempt) {
  DWORD error = 0;
  return RetriedWhileHeld(attempt, kTries, error);
}

bool WriteWhole(HANDLE file, const std::string& text) {
  DWORD written = 0;
  return api::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
         written == text.size();
}

}  // namespace

std::unique_ptr<LogFile> LogFile::OpenForAppending(const std::wstring& path, bool ntFamily, DWORD& error) {
  constexpr DWORD kSharing = FILE_SHARE_READ | FILE_SHARE_WRITE;
  const DWORD access = ntFamily ? FILE_APPEND_DATA : GENERIC_WRITE;
  const std::string name = ntFamily ? std::string() : ToAnsi(path);
  HANDLE file = INVALID_HANDLE_VALUE;
  const auto open = [&] {
    // The NT family by the path's real name, which the code page may not spell.
    file = ntFamily ? api::CreateFileW(path.c_str(), access, kSharing, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)
                    : api::CreateFileA(name.c_str(), access, kSharing, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                       nullptr);
    return file != INVALID_HANDLE_VALUE;
  };
  if (!RetriedWhileHeld(open, kOpenTries, error)) return nullptr;
  KernelHandle owner(file);
  return std::unique_ptr<LogFile>(new LogFile(std::move(owner), ntFamily, NameOfThisComputer()));
}

// The system puts each write of a file opened for appending only at its end,
// whatever other runs have written meanwhile.
bool LogFile::Append(const std::string& text) const {
  return RetriedWhileLocked([&] { return WriteWhole(file_.Get(), text); });
}

bool LogFile::AppendUnderLock(const std::string& text) const {
  HANDLE file = file_.Get();
  if (!RetriedWhileLocked([&] { return api::LockFile(file, 0, 0, kLockedBytes, 0) != 0; })) return false;
  const bool moved = api::SetFilePointer(file, 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER;
  const bool wrote = moved && WriteWhole(file, text);
  api::UnlockFile(file, 0, 0, kLockedBytes, 0);
  return wrote;
}

void LogFile::Write(const std::wstring& line) {
  if (stopped_) return;
  try {
    std::string text = Timestamp();
    text.append("  ").append(computer_).append("  ").append(ToAnsi(line)).append("\r\n");
    if (!(appendOnly_ ? Append(text) : AppendUnderLock(text))) stopped_ = true;
  } catch (...) {
    stopped_ = true;
  }
}

}  // namespace qvn
