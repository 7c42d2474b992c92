#include "app/InstallFolderGuard.h"

#include <cwctype>

#include "app/InstallFolderLink.h"
#include "app/Place.h"
#include "services/Concat.h"
#include "services/FolderIdentity.h"
#include "services/SystemFolders.h"
#include "services/VersionQuery.h"

namespace qvn {
namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

void Append(std::vector<std::wstring>& to, const std::vector<std::wstring>& more) {
  for (const std::wstring& each : more) to.push_back(each);
}

// The usual names on every fixed drive and on the candidate's own drive: a
// second Windows may be on any of them.
ProtectedFolders UsualFoldersFor(const std::wstring& candidate) {
  std::wstring drives = Concat({L"C", FixedDriveLetters()});
  const auto own = static_cast<wchar_t>(std::towupper(candidate[0]));
  if (drives.find(own) == std::wstring::npos) drives += own;
  ProtectedFolders usual;
  for (wchar_t drive : drives) {
    const ProtectedFolders onDrive = UsualSystemFolders(drive);
    Append(usual.sealed, onDrive.sealed);
    Append(usual.containers, onDrive.containers);
  }
  return usual;
}

// Every folder the candidate may not equal, hold or lie in (sealed), or equal
// or hold (containers): what the machine reports and the usual names.
ProtectedFolders GuardedFolders(const std::wstring& candidate) {
  const ReportedFolders reported = ReportedSystemFolders();
  ProtectedFolders guarded = UsualFoldersFor(candidate);
  Append(guarded.sealed, reported.system);
  Append(guarded.containers, reported.programFiles);
  return guarded;
}

enum class Verdict { Free, ByName, ByIdentity };

Verdict Judge(const Place& candidate, const Place& guarded, bool sealed) {
  const bool touches = candidate.Holds(guarded) || (sealed && guarded.Holds(candidate));
  if (!touches) return Verdict::Free;
  const bool byName = candidate.NamesHold(guarded) || (sealed && guarded.NamesHold(candidate));
  return byName ? Verdict::ByName : Verdict::ByIdentity;
}

Verdict JudgeAll(const Place& candidate, const ProtectedFolders& folders, PlaceReader& reader) {
  if (candidate.IsDriveRoot()) return Verdict::ByName;
  Verdict worst = Verdict::Free;
  for (const auto* list : {&folders.sealed, &folders.containers}) {
    for (const std::wstring& folder : *list) {
      const Verdict verdict = Judge(candidate, reader.Read(folder), list == &folders.sealed);
      if (verdict == Verdict::ByName) return verdict;
      if (verdict == Verdict::ByIdentity) worst = verdict;
    }
  }
  return worst;
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
  const wchar_t root[] = {drive, L':'};
  ProtectedFolders folders;
  for (const wchar_t* name : kSealed) folders.sealed.push_back(Concat({std::wstring_view(root, 2), std::wstring_view(name)}));
  for (const wchar_t* name : kContainers) folders.containers.push_back(Concat({std::wstring_view(root, 2), std::wstring_view(name)}));
  return folders;
}

namespace {

InstallFolderDecision DecideResolved(const std::wstring& resolved, bool followLink);

// What the link leads to is the install folder, judged as the location
// itself would be; where it may not be deleted, nothing may.
InstallFolderDecision DecideThroughLink(const std::wstring& link, const LinkedFolder& linked) {
  std::wstring refusal = linked.refusal;
  if (refusal.empty()) {
    InstallFolderDecision target = IsFullLocalPath(linked.folder)
                                       ? DecideResolved(linked.folder, /*followLink=*/false)
                                       : InstallFolderDecision{std::nullopt, L"not a full local path", true};
    if (target.folder) {
      target.link = link;
      return target;
    }
    refusal = Concat({L"a folder link that leads to ", linked.folder, L": ", target.refusal});
  }
  InstallFolderDecision stop{std::nullopt, refusal, true};
  stop.stopsRemoval = true;
  return stop;
}

InstallFolderDecision Judged(const std::wstring& resolved, Verdict verdict) {
  switch (verdict) {
    case Verdict::ByName:
      return {std::nullopt, L"a drive root, or a folder of the system or the users, or one that holds them", true};
    case Verdict::ByIdentity:
      return {std::nullopt, L"another name for a folder of the system or the users, or one that holds them", true};
    case Verdict::Free:
      break;
  }
  return {resolved, L"", false};
}

InstallFolderDecision DecideResolved(const std::wstring& resolved, bool followLink) {
  if (IsOnNetworkDrive(resolved)) return {std::nullopt, L"on a network drive", true};
  PlaceReader reader;
  const ProtectedFolders guarded = GuardedFolders(resolved);
  // A folder link is judged by its own names, as any location is, and then
  // by what it leads to, which is read from the link before anything opens
  // the place it names.
  if (followLink && RunsOnNtFamily()) {
    const LinkedFolder linked = FollowFolderLink(resolved);
    if (linked.isLink) {
      const Verdict byName = JudgeAll(reader.ReadNames(resolved), guarded, reader);
      return byName == Verdict::ByName ? Judged(resolved, byName) : DecideThroughLink(resolved, linked);
    }
  }
  return Judged(resolved, JudgeAll(reader.Read(resolved), guarded, reader));
}

// The folder without a closing separator the full path kept ("[INSTALLDIR]\"
// leaves two): every path built on it gets one separator per name, which a
// "\\?\" path and the restart's list take as written. A drive's root keeps its own.
std::wstring WithoutClosingSeparator(std::wstring path) {
  while (path.size() > 3 && path.back() == L'\\') path.pop_back();
  return path;
}

}  // namespace

InstallFolderDecision DecideInstallFolder(const std::wstring& location) {
  if (!IsFullLocalPath(location)) return {std::nullopt, L"not a full local path", false};
  const std::wstring resolved = WithoutClosingSeparator(FullPathOf(location));
  if (!IsFullLocalPath(resolved)) return {std::nullopt, L"not a full local path once resolved", true};
  return DecideResolved(resolved, /*followLink=*/true);
}

}  // namespace qvn
