#pragma once
#include <string>

#include "services/PlatformTypes.h"

// Files and folders laid out on the prefix's drive C: for a test, and a second
// process that holds a file open the way a running program would.
namespace fixture {

void MakeFile(const std::string& path, bool readOnly = false);
void MakeFolder(const std::string& path);
bool PathExists(const std::string& path);
// The same by wide names, for a name the code page cannot spell.
void MakeFile(const std::wstring& path);
bool PathExists(const std::wstring& path);
bool WriteText(const std::string& path, const std::string& text);  // the file's whole content, its folder there
std::string TextOf(const std::string& path);                       // empty when it cannot be read
std::string ShortPath(const std::string& path);                    // as GetShortPathNameA gives it
void RemoveTree(const std::string& path);  // ASCII path; what is below it may have any names

// Makes an empty file called exactly `name` inside `folder`, relative to the
// folder's handle, as tools that bypass the usual path rules do: "con",
// "aux.txt", "readme." and "notes " are names no path can make.
void MakeFileNamedExactly(const std::wstring& folder, const std::wstring& name);

// Opens `path` in a child process and keeps it open until this object goes:
// without FILE_SHARE_DELETE, or sharing deletion too (an indexer, a scanner).
// `whenFree`: the child tries again and again until it can open the file
// that way, then holds it: a program that opens it while a removal runs.
class FileHeldByAnotherProcess {
 public:
  enum class Sharing { NoDelete, Delete };
  explicit FileHeldByAnotherProcess(const std::string& path, Sharing sharing = Sharing::NoDelete,
                                    bool whenFree = false);
  // Whether the child got the file.
  bool Holds() const;
  ~FileHeldByAnotherProcess();
  FileHeldByAnotherProcess(const FileHeldByAnotherProcess&) = delete;
  FileHeldByAnotherProcess& operator=(const FileHeldByAnotherProcess&) = delete;

 private:
  std::string mark_;
  PROCESS_INFORMATION process_{};
};

// The child's side: run by main() for "--hold-open PATH [delete] [when-free]";
// never returns.
[[noreturn]] void HoldOpen(const std::string& path, bool sharesDeletion, bool whenFree);

// How the idle program meets WM_CLOSE: without a window it never does; with
// one it ends (with kEndedByClose) or, like a program whose user does not
// answer its "save your work?" question, stays.
enum class OnClose { NoWindow, Ends, Stays };

// The idle program's exit code when WM_CLOSE ended it, never that of a forced end.
inline constexpr DWORD kEndedByClose = 42;

std::string ThisProgram();  // this test program's file
// A copy of this test program at `path`, over a read-only file there, so that
// a real program runs under that name; false when it cannot be copied.
bool CopyThisProgramTo(const std::string& path);

// A program started from `program` (a copy of this test program, under any
// name) that sits idle with `currentFolder` as its current folder, as a user's
// program does, until it is ended or this object goes. With a window, the
// window is visible, unowned and called "Quorvane".
class ProgramRunning {
 public:
  ProgramRunning(const std::string& program, const std::string& currentFolder, OnClose onClose = OnClose::NoWindow)
      : ProgramRunning(program, std::wstring(currentFolder.begin(), currentFolder.end()), onClose) {}
  // The current folder named in full, whatever the code page.
  ProgramRunning(const std::string& program, const std::wstring& currentFolder, OnClose onClose = OnClose::NoWindow);
  ~ProgramRunning();
  ProgramRunning(const ProgramRunning&) = delete;
  ProgramRunning& operator=(const ProgramRunning&) = delete;
  void End();
  // Whether it ended by itself within `ms`, and with which exit code.
  bool Ended(DWORD ms) const { return ::WaitForSingleObject(process_.hProcess, ms) == WAIT_OBJECT_0; }
  DWORD ExitCode() const;

 private:
  PROCESS_INFORMATION process_{};
};

// Written by the idle program once its current folder is set and its window shows.
inline const char kIdleReady[] = "C:\\idle.ready";

// The idle program's side: run by main() for "--idle-in FOLDER [ends|stays]";
// never returns.
[[noreturn]] void IdleIn(const std::string& folder, OnClose onClose);

}  // namespace fixture
