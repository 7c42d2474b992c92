#include "services/LogFile.h"

#include "services/DecimalText.h"
#include "services/PlatformApi.h"
#include "services/Text.h"

namespace qvn {
namespace {

std::string Timestamp() {
  SYSTEMTIME now{};
  api::GetLocalTime(&now);
  return TimestampText(now);
}

}  // namespace

std::unique_ptr<LogFile> LogFile::OpenForAppending(const std::wstring& path) {
  HANDLE file = api::CreateFileA(ToAnsi(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  std::unique_ptr<LogFile> log(new LogFile(file));
  api::SetFilePointer(file, 0, nullptr, FILE_END);
  return log;
}

void LogFile::Write(const std::wstring& line) {
  if (stopped_) return;
  try {
    const std::string text = Timestamp() + "  " + ToAnsi(line) + "\r\n";
    DWORD written = 0;
    const BOOL wrote = api::WriteFile(file_.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    if (!wrote || written != text.size()) stopped_ = true;
  } catch (...) {
    stopped_ = true;
  }
}

}  // namespace qvn
