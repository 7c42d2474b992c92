#pragma once
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "services/AutomationObject.h"

// Drive C: as a temporary host folder, removed with everything in it when the
// drive goes. Windows' names compare without regard to case, so each part of a
// path finds its entry whatever its case.
class SimulatedDrive {
 public:
  SimulatedDrive();
  ~SimulatedDrive();
  SimulatedDrive(const SimulatedDrive&) = delete;
  SimulatedDrive& operator=(const SimulatedDrive&) = delete;

  // Host path for a "C:\..." path, or a path on another drive added; empty
  // for any path on no drive of the simulation.
  std::filesystem::path HostPath(const std::wstring& windowsPath) const;

  // The "C:\..." path of a host path on the drive.
  std::wstring WindowsPath(const std::filesystem::path& hostPath) const;

  // Another drive beside C:, empty at first.
  void AddDrive(wchar_t letter);

  void AddFile(const std::wstring& windowsPath, bool readOnly = false);
  void AddFolder(const std::wstring& windowsPath);
  bool Exists(const std::wstring& windowsPath) const;
  std::string Contents(const std::wstring& windowsPath) const;  // a file's bytes, as they are

  // Deleting this path (or anything below it) is refused, as for a file in use.
  void Lock(const std::wstring& windowsPath) { locked_.insert(HostPath(windowsPath)); }
  bool IsLocked(const std::filesystem::path& hostPath) const { return locked_.count(hostPath) != 0; }

  // Another program holds the file open without sharing: opening it fails
  // with a sharing violation and deleting it is refused, until released.
  void HoldOpen(const std::wstring& windowsPath) {
    Lock(windowsPath);
    held_.insert(HostPath(windowsPath));
  }
  void Release(const std::wstring& windowsPath) {
    locked_.erase(HostPath(windowsPath));
    held_.erase(HostPath(windowsPath));
  }
  bool IsHeld(const std::filesystem::path& hostPath) const { return held_.count(hostPath) != 0; }
  // Opening the file is refused with access denied; deleting it is not.
  void DenyOpen(const std::wstring& windowsPath) { openDenied_.insert(HostPath(windowsPath)); }
  bool IsOpenDenied(const std::filesystem::path& hostPath) const { return openDenied_.count(hostPath) != 0; }

  // A running program or loaded library: no handle is held, its image is
  // mapped. Opening it for reading succeeds; for writing, and deleting it, do not.
  void MapImage(const std::wstring& windowsPath) {
    Lock(windowsPath);
    mapped_.insert(HostPath(windowsPath));
  }
  bool IsMapped(const std::filesystem::path& hostPath) const { return mapped_.count(hostPath) != 0; }
  // A process's current folder: held open without sharing deletion, so the
  // folder cannot be deleted nor opened for deletion.
  void MakeCurrentFolder(const std::wstring& windowsPath) {
    Lock(windowsPath);
    current_.insert(HostPath(windowsPath));
  }
  bool IsCurrentFolder(const std::filesystem::path& hostPath) const { return current_.count(hostPath) != 0; }
  void EndPrograms() {
    for (const auto* set : {&mapped_, &current_}) {
      for (const std::filesystem::path& path : *set) locked_.erase(path);
    }
    mapped_.clear();
    current_.clear();
  }

  // The drive letter of the volume a host path lies on, folder links on the
  // way followed: a link to another drive puts what is below it there.
  wchar_t VolumeOf(const std::filesystem::path& hostPath) const;
  // Something at or below `hostPath` is held open, running or some process's
  // current folder.
  bool HoldsInUse(const std::filesystem::path& hostPath) const;
  // A rename: what the drive knows of `from` and everything below it (held,
  // running, locked...) goes with it to `to`, as Windows' handles do.
  void Renamed(const std::filesystem::path& from, const std::filesystem::path& to);
  // Where `path` is after `from` was renamed to `to`.
  static std::filesystem::path AfterRename(const std::filesystem::path& path, const std::filesystem::path& from,
                                           const std::filesystem::path& to);

  // What a folder link stores as the place it leads to, as
  // FSCTL_GET_REPARSE_POINT gives it: its tag, the name the system follows
  // ("\??\D:\Quorvane", or relative to the link's folder) and the relative
  // flag of a symbolic link.
  struct StoredLink {
    unsigned long tag;
    std::wstring name;
    bool relative = false;
  };
  // A folder link (junction or symbolic link) at `link`, leading to `target`:
  // a junction that stores "\??\" and the target, unless `stored` says
  // otherwise (a server's or a volume's name for a folder the simulation
  // keeps at `target`).
  void AddFolderLink(const std::wstring& link, const std::wstring& target);
  void AddFolderLink(const std::wstring& link, const std::wstring& target, const StoredLink& stored);
  // What the link at `hostPath` stores; null for anything else.
  const StoredLink* LinkStoredAt(const std::filesystem::path& hostPath) const;
  // The system will not remove the link by itself (as under Wine).
  void PinLink(const std::wstring& link) { pinned_.insert(HostPath(link)); }
  bool IsPinned(const std::filesystem::path& hostPath) const { return pinned_.count(hostPath) != 0; }

 private:
  std::filesystem::path root_;
  std::wstring letters_ = L"c";
  std::set<std::filesystem::path> locked_;
  std::set<std::filesystem::path> held_;
  std::set<std::filesystem::path> openDenied_;
  std::set<std::filesystem::path> mapped_;
  std::set<std::filesystem::path> current_;
  std::set<std::filesystem::path> pinned_;
  std::map<std::filesystem::path, StoredLink> links_;
};

// The scripting file-system object over a simulated drive, with the four
// methods the tool calls. Read-only entries go only with force; a locked entry
// refuses deletion with "Permission denied"; folder deletion removes entries in
// order and stops at the first it cannot remove, leaving the rest. Like the
// real one, a folder deletion follows a folder link and deletes what is in
// the folder it leads to.
class SimulatedFileSystemObject : public qvn::AutomationObject {
 public:
  using Recorder = std::function<void(const std::wstring& call)>;

  SimulatedFileSystemObject(SimulatedDrive& drive, Recorder record) : drive_(drive), record_(std::move(record)) {}

  qvn::AutomationValue Call(const std::wstring& method, const std::vector<qvn::AutomationValue>& args) override;

 private:
  bool FileExists(const std::wstring& path) const;
  bool FolderExists(const std::wstring& path) const;
  void DeleteFile(const std::wstring& path, bool force);
  void DeleteFolder(const std::wstring& path, bool force);
  void RemoveEntry(const std::filesystem::path& entry, bool force);

  SimulatedDrive& drive_;
  Recorder record_;
};
