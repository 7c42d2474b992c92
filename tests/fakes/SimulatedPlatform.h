#pragma once
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "services/Binder.h"
#include "services/PlatformTypes.h"
#include "tests/fakes/SimulatedFileSystemObject.h"
#include "tests/fakes/SimulatedRegistry.h"

// A Windows machine for the host tests: it binds the platform functions the
// tool declares to simulations that follow Windows' documented rules, makes the
// scripting file-system object over a simulated drive C:, and records what the
// tool asked of it. It puts itself in place of the binder while it lives.
// Its 8-bit code page is ISO 8859-1: one byte per character; converting to
// it, a letter beyond becomes a look-alike where Windows' best fit has one
// (\u0141 'L', \u0142 'l'), '?' otherwise. Its wide functions take names
// in that code page too.
class SimulatedPlatform : public qvn::Binder {
 public:
  struct ShownMessageBox {
    HWND owner;
    std::wstring text;
    std::wstring title;
    UINT style;
  };

  SimulatedPlatform();
  ~SimulatedPlatform() override;

  static SimulatedPlatform& Current();

  // A library withheld makes every one of its entry points unbound.
  void WithholdLibrary(const std::string& library) { withheldLibraries_.insert(Lower(library)); }
  void WithholdEntryPoint(const std::string& name) { withheldEntries_.insert(name); }
  // The `callNumber`-th call (from 1) of `name` fails with `error` and no effect.
  void FailCall(const std::string& name, int callNumber, LONG error) { failures_[{name, callNumber}] = error; }
  // `action` happens just before the `callNumber`-th call of `name`: another
  // program acting while the tool works.
  void Before(const std::string& name, int callNumber, std::function<void()> action) {
    actions_[{name, callNumber}] = std::move(action);
  }
  int CallCount(const std::string& name) const;

  // Windows 95/98/ME or NT, for the version record and the registry's rules.
  void RunAs(DWORD platformId, DWORD major, DWORD minor);
  void RefuseVersionQuery() { versionQueryRefused_ = true; }
  void RefuseObjectCreation() { objectCreationRefused_ = true; }

  // Where MoveFileExW lists what goes at the next restart. A limited user may
  // only read the key: registry.AllowReadOnly(kSessionManager) makes every
  // such request refuse with access denied, as without administrator rights.
  static constexpr char kSessionManager[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";

  SimulatedRegistry registry;
  SimulatedDrive drive;
  std::vector<ShownMessageBox> messageBoxes;
  std::vector<std::wstring> calls;  // registry changes and file-system object calls, in order
  // Opens (with their access and sharing, and OPEN_REPARSE_POINT for a link
  // opened as itself), locks, moves, writes and pauses, in order:
  // "CreateFileA C:\\x.log FILE_APPEND_DATA share READ|WRITE".
  std::vector<std::wstring> fileCalls;
  std::vector<std::wstring> objectsCreated;
  std::vector<std::string> bound;  // every entry point asked for, in order
  int liveObjects = 0;

  Address Bind(const char* library, const char* name) override;
  std::unique_ptr<qvn::AutomationObject> CreateObject(const std::wstring& progId) override;

  // Counts the call; true when it is the one chosen to fail, with `error` set.
  bool Fails(const std::string& name, LONG& error);

  // Why an open of the existing `host` entry with `access` is refused, as the
  // platform decides it from what holds it elsewhere (a Windows error); 0
  // when it may be opened. A new handle for it, counted until closed.
  LONG OpenRefusal(const std::filesystem::path& host, DWORD access, DWORD flags) const;
  HANDLE OpenHandle(const std::filesystem::path& host, DWORD access);

  // A running process: its id, its program file in full, and whether its
  // modules can be read (not those of a 64-bit process, from a 32-bit one).
  struct Process {
    DWORD id;
    std::string file;
    bool modulesReadable = true;
  };
  std::vector<Process> processes;

  OSVERSIONINFOA version{};
  std::string windowsFolder = "C:\\WINDOWS";
  std::string systemFolder = "C:\\WINDOWS\\SYSTEM32";
  std::string currentFolder = "C:\\Work";
  std::map<std::string, std::string> environment;
  std::map<std::string, std::string> shortNames;  // long path -> its 8.3 form
  std::map<int, std::string> specialFolders;      // what the shell reports, by CSIDL
  bool restartRefused = false;
  int openTokens = 0;
  int openFiles = 0;     // files, searches, snapshots and processes opened and not yet closed
  std::map<HANDLE, std::filesystem::path> openPaths;  // what each open file handle is
  // The access each open file was given, where its next read or write goes,
  // and its delete mark (with POSIX semantics: the name goes at the close).
  struct OpenFile {
    DWORD access = 0;
    std::uintmax_t position = 0;
    bool deleteMark = false;
    bool posixDelete = false;
    bool asLink = false;  // a folder link opened as itself (FILE_FLAG_OPEN_REPARSE_POINT)
  };
  std::map<HANDLE, OpenFile> openFileStates;
  std::set<char> networkDrives;                       // drive letters GetDriveType calls remote
  std::set<char> removableDrives;                     // ... removable (a card reader, a USB drive)
  std::set<char> cdDrives;                            // ... CD
  std::string drives = "C";                           // the drives GetLogicalDrives reports
  std::map<char, std::string> substitutedDrives;      // subst: drive letter -> the folder it names
  std::string programFile = "C:\\Work\\QvnRemove.exe";  // what GetModuleFileName answers
  std::string computerName = "PC-0417";                 // what GetComputerNameA answers
  DWORD lastError = 0;   // what GetLastError answers
  UINT errorMode = 0;    // as SetErrorMode last set it
  // Calls that touch a file, folder or drive made while the system could
  // still put up its "No Disk" box (the error mode not yet set), by name.
  std::vector<std::string> fileCallsBeforeErrorMode;
  std::map<HANDLE, std::vector<WIN32_FIND_DATAA>> searches;  // entries still to hand out
  std::map<HANDLE, std::vector<Process>> snapshots;          // processes still to hand out
  std::map<HANDLE, Process> openProcesses;
  // The native calls: where each folder's listing has come to, and what is
  // marked and waits for its last handle (or another program's) to close.
  std::map<HANDLE, std::vector<std::filesystem::path>> listings;
  std::set<std::filesystem::path> pendingDeletes;
  // Held by another program that shares deletion (an indexer, a scanner): a
  // deletion waits until it lets go.
  std::set<std::filesystem::path> sharedHolds;
  void HoldSharingDelete(const std::wstring& path) { sharedHolds.insert(drive.HostPath(path)); }
  void LetGo(const std::wstring& path);
  // Windows 10: the mark's newer form, with POSIX semantics, is known.
  bool posixDeletes = false;
  // Deletes what is marked and no longer held by anyone.
  void CarryOutPendingDeletes();
  // Named mutexes, by their full name ("Global\..." included): what another
  // program did with one, and whether this program owns it.
  struct NamedMutex {
    // OwnsAsSystem: a run of the system account owns it, and its default
    // security lets other accounts open it only to wait on.
    enum class Other { None, Owns, EndedOwning, OwnsAsSystem };
    Other other = Other::None;
    bool ownedHere = false;
  };
  std::map<std::string, NamedMutex> mutexes;
  std::map<HANDLE, std::string> mutexHandles;  // this program's open handles, to which mutex
  bool globalNamesRefused = false;              // no right to make "Global\" objects
  bool versionQueryRefused_ = false;
  // The windows' side: each window's text by its handle, the clock
  // GetTickCount reads, and what was asked of the windows, in order:
  // "PeekMessageA 0-0 keep", "ShutdownBlockReasonCreate WINDOW REASON".
  std::map<HWND, std::string> windowTexts;
  DWORD tickCount = 0;
  std::vector<std::wstring> windowCalls;

 private:
  static std::string Lower(std::string text);

  std::set<std::string> withheldLibraries_;
  std::set<std::string> withheldEntries_;
  std::map<std::pair<std::string, int>, LONG> failures_;
  std::map<std::pair<std::string, int>, std::function<void()>> actions_;
  std::map<std::string, int> callCounts_;
  bool objectCreationRefused_ = false;
  std::unique_ptr<qvn::ScopedBinder> installed_;
};
