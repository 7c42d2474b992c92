#include "app/InstallFolderGuard.h"

#include <algorithm>
#include <cwctype>

#include "services/FolderIdentity.h"
#include "services/SystemFolders.h"

namespace qvn {
namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

std::wstring Normalized(std::wstring path) {
  for (wchar_t& c : path) c = IsSeparator(c) ? L'\\' : static_cast<wchar_t>(std::towlower(c));
  while (!path.empty() && path.back() == L'\\') path.pop_back();
  return path;
}

bool IsDriveRoot(const std::wstring& normalized) { return normalized.size() <= 2; }

std::vector<std::wstring> Joined(std::vector<std::wstring> first, const std::vector<std::wstring>& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

// `outer` is `inner` or one of the folders above it.
bool EqualsOrHolds(const std::wstring& outer, const std::wstring& inner) {
  if (outer.empty() || inner.empty()) return false;
  if (outer == inner) return true;
  return inner.size() > outer.size() && inner.compare(0, outer.size(), outer) == 0 && inner[outer.size()] == L'\\';
}

std::vector<std::wstring> WithShortForms(const std::vector<std::wstring>& paths) {
  std::vector<std::wstring> forms = paths;
  for (const std::wstring& path : paths) {
    std::wstring shortForm = ShortPathOf(path);
    if (!shortForm.empty()) forms.push_back(shortForm);
  }
  return forms;
}

}  // namespace

bool IsFullLocalPath(const std::wstring& text) {
  if (text.size() < 3 || text[0] > 0x7F || !std::iswalpha(text[0]) || text[1] != L':' || !IsSeparator(text[2])) {
    return false;
  }
  for (std::size_t i = 2; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c < 0x20 || c == L':' || c == L'*' || c == L'?' || c == L'<' || c == L'>' || c == L'|' || c == L'"') {
      return false;
    }
  }
  return true;
}

bool IsSamePlace(const std::wstring& first, const std::wstring& second) {
  const std::vector<std::wstring> firstForms = WithShortForms({first, FullPathOf(first)});
  const std::vector<std::wstring> secondForms = WithShortForms({second, FullPathOf(second)});
  for (const std::wstring& a : firstForms) {
    for (const std::wstring& b : secondForms) {
      if (!a.empty() && Normalized(a) == Normalized(b)) return true;
    }
  }
  return false;
}

bool IsProtectedFolder(const std::vector<std::wstring>& candidateForms, const ProtectedFolders& folders) {
  for (const std::wstring& candidate : candidateForms) {
    const std::wstring folder = Normalized(candidate);
    if (IsDriveRoot(folder)) return true;
    for (const std::wstring& sealed : folders.sealed) {
      const std::wstring guarded = Normalized(sealed);
      if (EqualsOrHolds(folder, guarded) || EqualsOrHolds(guarded, folder)) return true;
    }
    for (const std::wstring& container : folders.containers) {
      if (EqualsOrHolds(folder, Normalized(container))) return true;
    }
  }
  return false;
}

ProtectedFolders UsualSystemFolders(wchar_t drive) {
  static const wchar_t* const kSealed[] = {
      L"\\WINDOWS",  // its system folder, fonts, drivers, and on 95/98/ME the profiles and shell folders
      L"\\WINNT",
      L"\\Program Files\\Common Files",
      L"\\Program Files (x86)\\Common Files",  // 64-bit Windows: the 32-bit programs' Common Files
      L"\\Documents and Settings",  // All Users, Default User and every user's profile
      L"\\Users",
      L"\\ProgramData",
      L"\\My Documents",
      L"\\RECYCLER",
      L"\\$Recycle.Bin",
      L"\\System Volume Information",
  };
  static const wchar_t* const kContainers[] = {
      L"\\Program Files",
      L"\\Program Files (x86)",  // 64-bit Windows: where 32-bit programs live
  };
  const std::wstring root = std::wstring(1, drive) + L":";
  ProtectedFolders folders;
  for (const wchar_t* name : kSealed) folders.sealed.push_back(root + name);
  for (const wchar_t* name : kContainers) folders.containers.push_back(root + name);
  return folders;
}

namespace {

// The usual names on every drive present and every drive the candidate's
// forms lie on: a second name may lead from any drive to any other.
ProtectedFolders UsualFoldersFor(const std::vector<std::wstring>& candidateForms) {
  std::wstring drives = L"C" + FixedDriveLetters();
  for (const std::wstring& form : candidateForms) {
    const auto drive = static_cast<wchar_t>(std::towupper(form[0]));
    if (drives.find(drive) == std::wstring::npos) drives += drive;
  }
  ProtectedFolders usual;
  for (wchar_t drive : drives) {
    ProtectedFolders onDrive = UsualSystemFolders(drive);
    usual.sealed = Joined(usual.sealed, onDrive.sealed);
    usual.containers = Joined(usual.containers, onDrive.containers);
  }
  return usual;
}

// The identities of `path` and of each folder above it that is there, nearest
// first; remembered by path, since the guarded folders share their parents.
class IdentityChains {
 public:
  std::vector<FolderIdentity> Of(const std::wstring& path) {
    std::vector<FolderIdentity> chain;
    for (std::wstring folder = Normalized(path); folder.size() >= 2; folder = Above(folder)) {
      if (const std::optional<FolderIdentity> identity = Single(folder)) chain.push_back(*identity);
    }
    return chain;
  }

  std::optional<FolderIdentity> Single(const std::wstring& path) {
    const std::wstring key = Normalized(path);
    for (const Known& known : known_) {
      if (known.path == key) return known.identity;
    }
    known_.push_back({key, IsLocal(key) ? IdentityOf(key.size() == 2 ? key + L"\\" : key) : std::nullopt});
    return known_.back().identity;
  }

 private:
  // C:\A\B gives C:\A, C:\A gives C:, C: gives nothing.
  static std::wstring Above(const std::wstring& folder) {
    if (folder.size() <= 2) return {};
    const std::size_t separator = folder.rfind(L'\\');
    return separator == std::wstring::npos || separator < 2 ? std::wstring() : folder.substr(0, separator);
  }

  // A folder on a fixed drive: one on a server (a redirected shell folder,
  // a network drive) is not opened, since a server away would hold the
  // removal up for each of them, nor one on a drive that may have no disk in.
  bool IsLocal(const std::wstring& key) {
    if (!IsFullLocalPath(key + L"\\")) return false;
    if (localDrives_.empty()) localDrives_ = L"?" + FixedDriveLetters();
    return localDrives_.find(static_cast<wchar_t>(std::towupper(key[0]))) != std::wstring::npos;
  }

  struct Known {
    std::wstring path;
    std::optional<FolderIdentity> identity;
  };
  std::vector<Known> known_;
  std::wstring localDrives_;
};

bool Contains(const std::vector<FolderIdentity>& chain, const std::optional<FolderIdentity>& identity) {
  return identity && std::find(chain.begin(), chain.end(), *identity) != chain.end();
}

// The same rule as by name, by what the folders are: a second drive letter, a
// junction or a mounted folder may name a protected folder, or one inside or
// above it, with a text the names do not catch. Folders that cannot be opened
// (95/98/ME, or not there) compare by name only.
bool IsAnotherNameForAProtectedFolder(const std::wstring& candidate, const ProtectedFolders& folders) {
  IdentityChains chains;
  const std::vector<FolderIdentity> candidateChain = chains.Of(candidate);
  if (candidateChain.empty()) return false;
  const std::optional<FolderIdentity> itself = chains.Single(candidate);
  for (const std::wstring& sealed : folders.sealed) {
    if (Contains(candidateChain, chains.Single(sealed))) return true;  // it, or inside it
    if (Contains(chains.Of(sealed), itself)) return true;               // above it
  }
  for (const std::wstring& container : folders.containers) {
    if (Contains(chains.Of(container), itself)) return true;
  }
  return false;
}

const wchar_t kProtected[] = L"a drive root, or a folder of the system or the users, or one that holds them";

}  // namespace

InstallFolderDecision DecideInstallFolder(const std::wstring& location) {
  if (!IsFullLocalPath(location)) return {std::nullopt, L"not a full local path", false};
  const std::wstring resolved = FullPathOf(location);
  if (!IsFullLocalPath(resolved)) return {std::nullopt, L"not a full local path once resolved", true};
  if (IsOnNetworkDrive(resolved)) return {std::nullopt, L"on a network drive", true};

  // On a drive made with subst, the folder is judged by its other name too.
  std::vector<std::wstring> names = {resolved};
  const std::wstring substituted = ThroughSubstitutedDrive(resolved);
  if (IsFullLocalPath(substituted)) names.push_back(substituted);
  const std::vector<std::wstring> candidateForms = WithShortForms(names);
  const ReportedFolders reported = ReportedSystemFolders();
  const ProtectedFolders usual = UsualFoldersFor(candidateForms);
  const ProtectedFolders byName{Joined(reported.system, usual.sealed), Joined(reported.programFiles, usual.containers)};
  const ProtectedFolders guarded{WithShortForms(byName.sealed), WithShortForms(byName.containers)};
  if (IsProtectedFolder(candidateForms, guarded)) return {std::nullopt, kProtected, true};
  for (const std::wstring& name : names) {
    if (IsAnotherNameForAProtectedFolder(name, byName)) {
      return {std::nullopt, L"another name for a folder of the system or the users, or one that holds them", true};
    }
  }
  return {resolved, L"", false};
}

bool LiesIn(const std::wstring& path, const std::wstring& folder) {
  for (const std::wstring& form : WithShortForms({path, FullPathOf(path)})) {
    for (const std::wstring& outer : WithShortForms({folder, FullPathOf(folder)})) {
      if (EqualsOrHolds(Normalized(outer), Normalized(form))) return true;
    }
  }
  return false;
}

bool LiesInByIdentity(const std::wstring& path, const std::wstring& folder) {
  IdentityChains chains;
  return Contains(chains.Of(FullPathOf(path)), chains.Single(folder));
}

std::optional<std::wstring> InstallFolderToDelete(const std::wstring& location) {
  return DecideInstallFolder(location).folder;
}

}  // namespace qvn
