#include "app/InstallFolderLink.h"

#include <algorithm>
#include <vector>

#include "services/Concat.h"
#include "services/DecimalText.h"
#include "services/FolderAbove.h"
#include "services/FolderIdentity.h"
#include "services/LinkTarget.h"
#include "services/RemoveFolderLink.h"
#include "services/SameText.h"

namespace qvn {
namespace {

bool IsDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

// "X:", "X:\" or "X:\...".
bool NamesADrive(const std::wstring& path) {
  return path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == L':' && (path.size() == 2 || path[2] == L'\\');
}

// `path` with "." and ".." applied, as the system applies them to a link's
// relative target; ".." never climbs above the drive.
std::wstring Tidied(const std::wstring& path) {
  std::vector<std::wstring> parts;
  for (std::size_t start = 3; start <= path.size();) {
    const std::size_t end = std::min(path.find(L'\\', start), path.size());
    const std::wstring part = path.substr(start, end - start);
    if (part == L"..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != L".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  return Concat({std::wstring_view(path).substr(0, 2), L"\\", Joined(parts, L"\\")});
}

// A symbolic link's relative target, from the folder that holds the link,
// or from its drive's root when it starts with a separator.
std::wstring FromTheLinksFolder(const std::wstring& link, const std::wstring& relative) {
  const std::wstring base = relative.front() == L'\\' ? link.substr(0, 2) : FolderAbove(link);
  return Tidied(Concat({base, L"\\", relative}));
}

std::wstring HexText(DWORD number) {
  std::wstring text = L"0x00000000";
  for (std::size_t at = text.size(); number != 0; number >>= 4) text[--at] = L"0123456789ABCDEF"[number & 0xF];
  return text;
}

// What a link leads to, as a drive-letter path; or why it names none.
struct Target {
  std::wstring path;
  std::wstring refusal;
};

Target Refused(std::wstring_view what, const std::wstring& stored) {
  return {L"", Concat({L"a folder link that leads to ", what, L" (", stored, L")"})};
}

Target TargetOf(const FolderLink& read, const std::wstring& link) {
  switch (read.kind) {
    case FolderLink::Kind::Unreadable:
      return {L"", Concat({L"a folder link that cannot be read (error ",
                           DecimalText(static_cast<std::int32_t>(read.error)), L")"})};
    case FolderLink::Kind::OtherKind:
      return {L"", Concat({L"a folder link of a kind this program does not follow (tag ", HexText(read.tag), L")"})};
    case FolderLink::Kind::None:
    case FolderLink::Kind::Junction:
    case FolderLink::Kind::SymbolicLink:
    case FolderLink::Kind::FinalPath:
      break;
  }
  const std::wstring& stored = read.target;
  if (read.relative) return {FromTheLinksFolder(link, stored), L""};
  // The system's names of a folder: "\??\" in a link's data, "\\?\" where it
  // names a folder it opened.
  const std::wstring_view prefix = read.kind == FolderLink::Kind::FinalPath ? L"\\\\?\\" : L"\\??\\";
  if (!StartsWithText(stored, prefix)) return Refused(L"a place with no drive letter", stored);
  const std::wstring named = stored.substr(prefix.size());
  if (StartsWithText(named, L"UNC\\")) return Refused(L"a server", stored);
  if (StartsWithText(named, L"Volume{")) {
    const std::size_t separator = named.find(L'\\');
    const bool wholeVolume = separator == std::wstring::npos || separator + 1 == named.size();
    return Refused(wholeVolume ? L"a whole volume" : L"a place with no drive letter", stored);
  }
  if (!NamesADrive(named)) return Refused(L"a place with no drive letter", stored);
  return {Tidied(named), L""};
}

}  // namespace

LinkedFolder FollowFolderLink(const std::wstring& path) {
  LinkedFolder followed;
  std::wstring at = path;
  for (int hop = 0; hop <= kMostLinkHops; ++hop) {
    const FolderLink read = ReadFolderLink(at);
    if (read.kind == FolderLink::Kind::None) break;
    if (hop == kMostLinkHops) {
      followed.refusal = Concat({L"a chain of more than ", DecimalText(kMostLinkHops), L" folder links"});
      break;
    }
    const Target target = TargetOf(read, at);
    // A folder the system opened in the link's place under the link's own
    // name is that folder itself, not a link.
    if (target.refusal.empty() && SameText(target.path, at)) break;
    followed.isLink = true;
    followed.refusal = target.refusal;
    if (!followed.refusal.empty()) break;
    at = target.path;
    // Never opened to look for a further link: a server may hold every open
    // up, a CD would spin up, and neither holds a link to follow.
    if (!IsOnLocalDrive(at)) break;
  }
  if (followed.isLink && followed.refusal.empty()) followed.folder = at;
  return followed;
}

void RemoveLinkAfterItsFolder(const std::wstring& link, RemovalObserver* observer) {
  const DWORD error = RemoveFolderLink(link, /*ntFamily=*/true);
  if (observer != nullptr) observer->LinkRemovedAfterItsFolder(link, error);
}

}  // namespace qvn
