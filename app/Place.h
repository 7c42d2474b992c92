#pragma once
#include <optional>
#include <string>
#include <vector>

#include "services/FolderIdentity.h"

namespace qvn {

// A file or folder by every name it goes by and by what it is, read once: the
// full path as the system resolves it, the same path through the folder its
// drive names where the drive was made with subst, the short (8.3) forms of
// both, and the identities of the folder and of each folder above it. Places
// compare by any of their names and by identity, so that another spelling, a
// short name, a second drive letter, a junction or a mounted folder cannot
// make one place pass for another. Identities are read on fixed, removable
// and RAM drives only, and only where folders can be opened (the NT family);
// elsewhere a place compares by its names.
class Place {
 public:
  // `other` is this place or lies inside it, by a name or by identity (the
  // other place need not be there yet: the folders above it that are count).
  bool Holds(const Place& other) const;
  // The same, by the names alone.
  bool NamesHold(const Place& other) const;
  // `other` is this very place, by a name or, for folders, by identity.
  bool IsSame(const Place& other) const;
  // Some name of it is a drive's root.
  bool IsDriveRoot() const;

  const std::wstring& Resolved() const { return resolved_; }

 private:
  friend class PlaceReader;

  std::wstring resolved_;
  std::vector<std::wstring> names_;  // compared forms: lower case, '\\' only, no closing '\\'
  std::optional<FolderIdentity> itself_;
  std::vector<FolderIdentity> chain_;  // itself where it is a folder, then each folder above, nearest first
};

// Reads places from the system, remembering each folder's identity for as
// long as it lives: places read together share most of their folders above.
class PlaceReader {
 public:
  Place Read(const std::wstring& path);
  // By its names alone, nothing opened: a folder link's own names, judged
  // before anything it may lead to (a server) is opened.
  Place ReadNames(const std::wstring& path);

 private:
  std::optional<FolderIdentity> IdentityOf(const std::wstring& name);
  bool OpensFoldersOn(wchar_t drive);

  struct Known {
    std::wstring name;
    std::optional<FolderIdentity> identity;
  };
  std::vector<Known> known_;
  std::wstring localDrives_;  // drives found to be opened, upper case
  std::wstring otherDrives_;  // drives found never to be
};

}  // namespace qvn
