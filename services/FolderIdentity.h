#pragma once
#include <optional>
#include <string>

#include "services/PlatformTypes.h"

namespace qvn {

// What makes a folder itself whatever it is called: a second drive letter
// (subst), a junction or a mounted folder gives the same folder another name,
// but not another volume serial number and file index.
struct FolderIdentity {
  DWORD volume;
  DWORD indexHigh;
  DWORD indexLow;
  bool operator==(const FolderIdentity& other) const {
    return volume == other.volume && indexHigh == other.indexHigh && indexLow == other.indexLow;
  }
};

// The identity of the folder at `path`, opened for nothing but its
// attributes; nothing when it is not there or when folders cannot be opened
// (95/98/ME). Never raises for a refusal of the system.
std::optional<FolderIdentity> IdentityOf(const std::wstring& path);

// Whether the drive of the full path `path` ("X:\...") is a network drive.
bool IsOnNetworkDrive(const std::wstring& path);

// Whether `path` lies on a server: a network path ("\\server\share") or a
// path on a network drive.
bool IsOnServer(const std::wstring& path);

// The letters of the fixed and RAM drives present ("CD"): the drives every
// machine's own Windows may be on. Removable drives are left out: each path
// asked of an empty floppy drive waits for it to spin up first.
std::wstring FixedDriveLetters();

// Whether folders on the drive of the full path `path` are opened to tell
// what they are: a fixed, removable or RAM drive. An empty removable drive
// answers "not ready" (the program turns the system's "No Disk" box off
// first thing). Network drives are never opened, since a server away would
// hold every open up, and neither are CD drives, which would spin up for it.
bool IsOnLocalDrive(const std::wstring& path);

// `path` through the folder that its drive letter is a second name for, where
// the drive was made with subst ("S:\x" for S: made from C:\Apps gives
// "C:\Apps\x"); empty for any other drive.
std::wstring ThroughSubstitutedDrive(const std::wstring& path);

}  // namespace qvn
