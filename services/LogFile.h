#pragma once
#include <memory>
#include <string>
#include <utility>

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
// "YYYY-MM-DD hh:mm:ss  COMPUTER  text": the local date and time, and the
// name of the computer, since administrators point every machine's log at one
// file on a share. Lines are written as they come, so a run that ends
// abruptly leaves what it did recorded. A write that fails (a full disk, a
// share that went away) ends the logging quietly: the log records the removal
// and never changes it, its outcome or its exit code.
//
// Other runs may append to the same file at the same time, and each line
// lands whole at the end. On the NT family the file is opened for appending
// only: the system puts every write at the end. 95/98/ME know no such access,
// so there each line is written at the end while the file is locked. A write
// or a lock that meets another run's lock is tried again for about a second.
class LogFile : public LogSink {
 public:
  // Opens `path` for appending, creating it when missing, in the way of the
  // running family; null when it cannot be opened (no such folder, access
  // denied, a folder's name), with the system's error in `error`. An open
  // that another program's hold refuses (a sharing or lock violation) is
  // tried again for five seconds first.
  static std::unique_ptr<LogFile> OpenForAppending(const std::wstring& path, bool ntFamily, DWORD& error);

  // Never raises.
  void Write(const std::wstring& line) override;

 private:
  LogFile(KernelHandle file, bool appendOnly, std::string computer)
      : file_(std::move(file)), appendOnly_(appendOnly), computer_(std::move(computer)) {}

  bool Append(const std::string& text) const;
  bool AppendUnderLock(const std::string& text) const;

  KernelHandle file_;
  bool appendOnly_;
  std::string computer_;
  bool stopped_ = false;
};

}  // namespace qvn
