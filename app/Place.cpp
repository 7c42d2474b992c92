#include "app/Place.h"

#include <algorithm>
#include <cwctype>

#include "services/Concat.h"
#include "services/FolderAbove.h"
#include "services/SystemFolders.h"

namespace qvn {
namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

std::wstring Compared(std::wstring path) {
  for (wchar_t& c : path) c = IsSeparator(c) ? L'\\' : static_cast<wchar_t>(std::towlower(c));
  while (!path.empty() && path.back() == L'\\') path.pop_back();
  return path;
}

// `outer` is `inner` or one of the folders above it, as compared names.
bool EqualsOrHolds(const std::wstring& outer, const std::wstring& inner) {
  if (outer.empty() || inner.empty()) return false;
  if (outer == inner) return true;
  return inner.size() > outer.size() && inner.compare(0, outer.size(), outer) == 0 && inner[outer.size()] == L'\\';
}

template <typename T>
bool Contains(const std::vector<T>& list, const T& value) {
  for (const T& each : list) {
    if (each == value) return true;
  }
  return false;
}

void AddName(std::vector<std::wstring>& names, const std::wstring& name) {
  const std::wstring compared = Compared(name);
  if (!compared.empty() && !Contains(names, compared)) names.push_back(compared);
}

bool IsDriveName(const std::wstring& name) { return name.size() == 2 && name[1] == L':'; }

}  // namespace

bool Place::NamesHold(const Place& other) const {
  for (const std::wstring& outer : names_) {
    for (const std::wstring& inner : other.names_) {
      if (EqualsOrHolds(outer, inner)) return true;
    }
  }
  return false;
}

bool Place::Holds(const Place& other) const {
  if (NamesHold(other)) return true;
  return itself_ && Contains(other.chain_, *itself_);
}

bool Place::IsSame(const Place& other) const {
  for (const std::wstring& name : names_) {
    if (Contains(other.names_, name)) return true;
  }
  return itself_ && other.itself_ && *itself_ == *other.itself_;
}

bool Place::IsDriveRoot() const {
  return std::any_of(names_.begin(), names_.end(), [](const std::wstring& name) { return name.size() <= 2; });
}

Place PlaceReader::Read(const std::wstring& path) {
  Place place = ReadNames(path);
  const std::wstring resolved = Compared(place.resolved_);
  place.itself_ = IdentityOf(resolved);
  for (std::wstring folder = resolved; !folder.empty(); folder = FolderAbove(folder)) {
    if (const std::optional<FolderIdentity> identity = IdentityOf(folder)) place.chain_.push_back(*identity);
  }
  return place;
}

Place PlaceReader::ReadNames(const std::wstring& path) {
  Place place;
  const std::wstring full = FullPathOf(path);
  place.resolved_ = full.empty() ? path : full;
  std::vector<std::wstring> spelled = {place.resolved_};
  if (Compared(path) != Compared(place.resolved_)) spelled.push_back(path);
  const std::wstring substituted = ThroughSubstitutedDrive(place.resolved_);
  if (!substituted.empty()) spelled.push_back(substituted);
  for (const std::wstring& name : spelled) {
    AddName(place.names_, name);
    AddName(place.names_, ShortPathOf(name));
  }
  return place;
}

std::optional<FolderIdentity> PlaceReader::IdentityOf(const std::wstring& name) {
  for (const Known& known : known_) {
    if (known.name == name) return known.identity;
  }
  std::optional<FolderIdentity> identity;
  if (name.size() >= 2 && name[1] == L':' && OpensFoldersOn(name[0])) {
    identity = qvn::IdentityOf(IsDriveName(name) ? Concat({name, L"\\"}) : name);
  }
  known_.push_back({name, identity});
  return identity;
}

bool PlaceReader::OpensFoldersOn(wchar_t drive) {
  const auto letter = static_cast<wchar_t>(std::towupper(drive));
  if (localDrives_.find(letter) != std::wstring::npos) return true;
  if (otherDrives_.find(letter) != std::wstring::npos) return false;
  const bool local = IsOnLocalDrive(std::wstring(1, letter) + L":\\");
  (local ? localDrives_ : otherDrives_) += letter;
  return local;
}

}  // namespace qvn
