#include "services/ClaimTree.h"

#include <optional>

#include "services/AutomationError.h"
#include "services/Concat.h"
#include "services/NtFileCalls.h"
#include "services/PlatformApi.h"

namespace qvn {
namespace {

using State = HeldEntry::State;

// Someone else is deleting the entry: it is waited for this often, this
// long each time, before it counts as gone.
constexpr int kPendingWaits = 10;
constexpr DWORD kPendingWaitMs = 50;

const wchar_t kNothingRemoved[] = L", so nothing of Quorvane has been removed";

// What the claim makes of the system's answer to an open.
enum class Verdict { Held, InUse, Denied, Pending, Gone, Swapped, Exhausted, Other };

Verdict VerdictOf(nt::Status status) {
  switch (status) {
    case nt::kSuccess:
      return Verdict::Held;
    case nt::kSharingViolation:
      return Verdict::InUse;
    case nt::kAccessDenied:
      return Verdict::Denied;
    case nt::kDeletePending:
      return Verdict::Pending;
    case nt::kObjectNameNotFound:
    case nt::kObjectPathNotFound:
      return Verdict::Gone;
    case nt::kNotADirectory:
    case nt::kFileIsADirectory:
      return Verdict::Swapped;
    // The system has no room for one more open file (Wine: the process's
    // descriptor limit): as good as more entries than are held at once.
    case nt::kTooManyOpenedFiles:
    case nt::kInsufficientResources:
      return Verdict::Exhausted;
    default:
      return Verdict::Other;
  }
}

// A target is opened by its path, which answers with an error, not a status.
nt::Status StatusOfError(DWORD error) {
  switch (error) {
    case ERROR_SUCCESS:
      return nt::kSuccess;
    case ERROR_SHARING_VIOLATION:
      return nt::kSharingViolation;
    case ERROR_ACCESS_DENIED:
      return nt::kAccessDenied;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return nt::kObjectNameNotFound;
    case ERROR_TOO_MANY_OPEN_FILES:
    case ERROR_NO_SYSTEM_RESOURCES:
      return nt::kTooManyOpenedFiles;
    default:
      return static_cast<nt::Status>(0xC0070000u | (error & 0xFFFFu));  // a Windows error as a status
  }
}

DWORD AccessFor(bool isFolder) { return kDeletionAccess | (isFolder ? nt::kListDirectory : 0); }
constexpr DWORD kListingAccess = nt::kListDirectory | nt::kSynchronize;

// What an opened entry is, decided from its handle: the listing's word
// alone could have been overtaken, and Wine's is not the handle's.
enum class Kind { Plain, Link, Unconfirmed };

Kind KindOf(HANDLE opened, DWORD listed, bool isFolder, bool reparsePoints) {
  const bool listedAsLink = (listed & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  // A file is removed as itself whatever it is: only where a link was
  // listed is there anything to confirm.
  if (!isFolder && !listedAsLink) return Kind::Plain;
  DWORD attributes = 0;
  std::uint32_t tag = 0;
  // NT 4.0 has no reparse points, and no query for them.
  const bool read = reparsePoints && ReadAttributeTag(opened, attributes, tag) >= 0;
  if (read && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    // A cloud, deduplication or storage placeholder is a file or folder like any other.
    return nt::IsNameSurrogate(tag) ? Kind::Link : Kind::Plain;
  }
  return listedAsLink ? Kind::Unconfirmed : Kind::Plain;
}

struct Identity {
  DWORD volume, high, low;
};

class Claim {
 public:
  Claim(HeldTree& tree, std::size_t ceiling) : tree_(tree), ceiling_(ceiling),
        ticker_(tree.Progress(), WorkProgress::Phase::Checking) {}

  ClaimResult Run(const std::vector<ClaimTarget>& targets) {
    for (std::size_t at = 0; at < targets.size() && !result_.overCeiling; ++at) Target(targets, at);
    for (std::size_t at = 0; at < tree_.entries.size() && !result_.overCeiling; ++at) {
      const HeldEntry& entry = tree_.entries[at];
      const bool enterable = entry.state == State::Held || entry.state == State::Listed;
      if (entry.isFolder && !entry.isLink && enterable && !IsItselfOnly(at)) Contents(at);
    }
    if (result_.overCeiling) {
      tree_.entries.clear();
      ClaimResult over;
      over.overCeiling = true;
      return over;
    }
    ticker_.End();
    return std::move(result_);
  }

 private:
  void Target(const std::vector<ClaimTarget>& targets, std::size_t at) {
    const ClaimTarget& target = targets[at];
    result_.roots.push_back(kNoEntry);
    result_.sameAs.push_back(kNoEntry);
    const DWORD listed = TargetAttributes(target.path, target.exactName);
    if (listed == INVALID_FILE_ATTRIBUTES || ((listed & FILE_ATTRIBUTE_DIRECTORY) != 0) != target.isFolder) return;
    KernelHandle opened;
    const nt::Status status =
        StatusOfError(OpenTarget(target.path, AccessFor(target.isFolder), tree_.ReparsePoints(), opened, target.exactName));
    const std::size_t same = EarlierTargetOf(opened);
    if (same != kNoEntry) {
      result_.sameAs.back() = same;
      return;
    }
    exactName_ = target.exactName;
    const std::size_t entry = Place(status, std::move(opened), kNoEntry, target.path, listed, target.isFolder);
    result_.roots.back() = entry;
    if (entry != kNoEntry && target.itselfOnly) itselfOnly_.push_back(entry);
    if (entry == kNoEntry) return;
    if (const std::optional<Identity> identity = IdentityOf(tree_.entries[entry].handle.Get())) {
      identities_.push_back({at, *identity});
    }
  }

  // The earlier target this open handle is another name of, by its place in the list.
  std::size_t EarlierTargetOf(const KernelHandle& opened) const {
    if (!opened) return kNoEntry;
    const std::optional<Identity> identity = IdentityOf(opened.Get());
    if (!identity) return kNoEntry;
    for (const auto& [target, known] : identities_) {
      if (identity->volume == known.volume && identity->high == known.high && identity->low == known.low) return target;
    }
    return kNoEntry;
  }

  // None where it cannot be read, or where the file system keeps no index
  // (it answers 0 for every file): two such targets are never one file.
  static std::optional<Identity> IdentityOf(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION information{};
    if (handle == nullptr || !api::GetFileInformationByHandle(handle, &information)) return std::nullopt;
    if (information.nFileIndexHigh == 0 && information.nFileIndexLow == 0) return std::nullopt;
    return Identity{information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow};
  }

  bool IsItselfOnly(std::size_t entry) const {
    for (std::size_t only : itselfOnly_) {
      if (only == entry) return true;
    }
    return false;
  }

  // Claims each entry of the held folder `folder`.
  void Contents(std::size_t folder) {
    std::vector<std::pair<std::wstring, DWORD>> listed = List(folder);
    for (const auto& [name, attributes] : listed) {
      if (result_.overCeiling) return;
      Entry(folder, name, attributes, /*mayListAgain=*/true);
    }
  }

  std::vector<std::pair<std::wstring, DWORD>> List(std::size_t folder) {
    std::vector<std::pair<std::wstring, DWORD>> listed;
    const nt::Status status = ListFolder(tree_.entries[folder].handle.Get(), buffer_, [&](const std::wstring& name, DWORD attributes) {
      listed.emplace_back(name, attributes);
    });
    if (status < 0) {
      throw SystemErrorFailure(ErrorOfStatus(status),
                               L"A folder cannot be listed, so what is in it cannot be checked, and nothing of "
                               L"Quorvane has been removed")
          .WithItem(tree_.PathOf(folder));
    }
    return listed;
  }

  void Entry(std::size_t folder, const std::wstring& name, DWORD attributes, bool mayListAgain) {
    const bool isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    KernelHandle opened;
    nt::Status status = nt::kSuccess;
    for (int waited = 0;; ++waited) {
      status = OpenEntry(tree_.entries[folder].handle.Get(), name, isFolder, tree_.ReparsePoints(), AccessFor(isFolder),
                         opened);
      if (status != nt::kDeletePending || waited == kPendingWaits) break;
      api::Sleep(kPendingWaitMs);
    }
    if (VerdictOf(status) == Verdict::Swapped && mayListAgain) {
      // Swapped for the other kind between the listing and the open: the
      // folder's listing says what it is now, once.
      for (const auto& [again, now] : List(folder)) {
        if (again == name) Entry(folder, name, now, /*mayListAgain=*/false);
      }
      return;
    }
    Place(status, std::move(opened), folder, name, attributes, isFolder);
  }

  // Puts what the open answered into the tree; the new entry, or kNoEntry
  // when there is none.
  std::size_t Place(nt::Status status, KernelHandle opened, std::size_t parent, const std::wstring& name, DWORD listed,
                    bool isFolder) {
    switch (VerdictOf(status)) {
      case Verdict::Held: {
        const Kind kind = KindOf(opened.Get(), listed, isFolder, tree_.ReparsePoints());
        if (kind == Kind::Unconfirmed) {
          result_.unconfirmedLinks.push_back(PathIn(parent, name));
          return kNoEntry;
        }
        const std::size_t entry = Add(std::move(opened), parent, name, listed, isFolder, State::Held);
        tree_.entries[entry].isLink = kind == Kind::Link;
        return entry;
      }
      case Verdict::InUse:
        return AddInUse(parent, name, listed, isFolder);
      case Verdict::Pending:  // still being deleted after the wait: as good as gone
      case Verdict::Gone:
        return kNoEntry;
      case Verdict::Exhausted:
        result_.overCeiling = true;
        return kNoEntry;
      case Verdict::Denied:
      case Verdict::Swapped:
      case Verdict::Other:
        break;
    }
    Refuse(status, PathIn(parent, name));
  }

  // What forbids the removal, for the user: everything is released first.
  [[noreturn]] static void Refuse(nt::Status status, const std::wstring& path) {
    const Verdict verdict = VerdictOf(status);
    const std::wstring why =
        verdict == Verdict::Denied    ? std::wstring(L"Windows does not allow it to be deleted")
        : verdict == Verdict::Swapped ? std::wstring(L"It was changed for a file or folder of the other kind while it "
                                                     L"was being checked")
                                      : Concat({L"It cannot be opened for deletion (status ", StatusText(status), L")"});
    throw SystemErrorFailure(ErrorOfStatus(status), Concat({why, kNothingRemoved})).WithItem(path);
  }

  // Held elsewhere without delete sharing. A folder is still opened to be
  // listed, where it can be, so that what is in it is claimed too.
  std::size_t AddInUse(std::size_t parent, const std::wstring& name, DWORD listed, bool isFolder) {
    KernelHandle listing;
    nt::Status status = nt::kSharingViolation;
    if (isFolder) {
      status = parent == kNoEntry
                   ? StatusOfError(OpenTarget(name, kListingAccess, tree_.ReparsePoints(), listing, exactName_))
                   : OpenEntry(tree_.entries[parent].handle.Get(), name, true, tree_.ReparsePoints(), kListingAccess,
                               listing);
    }
    const bool listable = status >= 0;
    const std::size_t entry =
        Add(std::move(listing), parent, name, listed, isFolder, listable ? State::Listed : State::InUse);
    result_.inUse.push_back(entry);
    if (listable && KindOf(tree_.entries[entry].handle.Get(), listed, true, tree_.ReparsePoints()) != Kind::Plain) {
      tree_.entries[entry].isLink = true;  // never entered
    }
    return entry;
  }

  std::size_t Add(KernelHandle handle, std::size_t parent, const std::wstring& name, DWORD attributes, bool isFolder,
                  State state) {
    HeldEntry entry;
    entry.handle = std::move(handle);
    entry.name = name;
    entry.parent = parent;
    entry.state = state;
    entry.isFolder = isFolder;
    entry.attributes = attributes;
    const std::size_t index = tree_.entries.size();
    entry.target = parent == kNoEntry ? index : tree_.entries[parent].target;
    tree_.entries.push_back(std::move(entry));
    ticker_.Step();
    if (tree_.entries.size() > ceiling_) result_.overCeiling = true;
    return index;
  }

  std::wstring PathIn(std::size_t parent, const std::wstring& name) const {
    return parent == kNoEntry ? name : Concat({tree_.PathOf(parent), L"\\", name});
  }

  HeldTree& tree_;
  std::size_t ceiling_;
  ProgressTicker ticker_;
  ClaimResult result_;
  std::vector<std::size_t> itselfOnly_;
  std::vector<std::pair<std::size_t, Identity>> identities_;  // of each target claimed, by its place in the list
  std::vector<std::uint64_t> buffer_;
  bool exactName_ = false;  // of the target being claimed
};

}  // namespace

ClaimResult ClaimTargets(HeldTree& tree, const std::vector<ClaimTarget>& targets, std::size_t ceiling) {
  try {
    return Claim(tree, ceiling).Run(targets);
  } catch (...) {
    tree.entries.clear();  // nothing is marked yet: released, nothing changes
    throw;
  }
}

}  // namespace qvn
