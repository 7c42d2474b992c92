#pragma once
#include <memory>
#include <string>

#include "services/PlatformTypes.h"
#include "services/KernelHandle.h"

namespace qvn {

// Where the lines of a log go.
class LogSink {
 public:
  virtual ~LogSink() = default;
  virtual void Write(const std::wstring& line) = 0;
};

// A plain-text file the program appends to, one line per event, each line
// starting with the local date and time. Lines are written as they come, so
// a run that ends abruptly leaves what it did recorded. A write that fails
// (a full disk, a share that went away) ends the logging quietly: the log
// records the removal and never changes it, its outcome or its exit code.
class LogFile : public LogSink {
 public:
  // Opens `path` for appending, creating it when missing; null when it
  // cannot be opened (no such folder, access denied, a folder's name).
  static std::unique_ptr<LogFile> OpenForAppending(const std::wstring& path);

  // Never raises.
  void Write(const std::wstring& line) override;

 private:
  explicit LogFile(HANDLE file) : file_(file) {}
  KernelHandle file_;
  bool stopped_ = false;
};

}  // namespace qvn
