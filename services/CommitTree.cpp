#include "services/CommitTree.h"

#include "services/MarkTree.h"
#include "services/NtFileCalls.h"
#include "services/PlatformApi.h"

namespace qvn {
namespace {

using State = HeldEntry::State;

// A name that lingers in a folder is waited for this often, this long each
// time: long enough for an indexer or a scanner to let go, short enough that
// a program holding it for good does not hold the removal up.
constexpr int kLingerWaits = 20;
constexpr DWORD kLingerWaitMs = 50;

// Entries that keep their folder: what stays where it is.
bool Stays(const HeldEntry& entry) {
  return entry.state == State::InUse || entry.state == State::Listed || entry.state == State::Refused;
}

class FolderRemoval {
 public:
  FolderRemoval(HeldTree& tree, std::size_t root)
      : tree_(tree), root_(root), keeps_(tree.entries.size(), false) {}

  std::vector<FolderLeft> Run() {
    for (std::size_t at = root_; at < tree_.entries.size(); ++at) {
      if (tree_.entries[at].target == root_ && Stays(tree_.entries[at])) KeepAbove(at);
    }
    for (std::size_t at = tree_.entries.size(); at-- > root_;) {
      HeldEntry& entry = tree_.entries[at];
      if (entry.target != root_ || !entry.isFolder || entry.isLink || entry.state != State::Held) continue;
      if (keeps_[at]) {
        entry.handle.Reset();
        entry.state = State::Kept;
        continue;
      }
      Remove(at);
      tree_.removal.Step();
    }
    return std::move(left_);
  }

 private:
  void KeepAbove(std::size_t entry) {
    for (std::size_t at = tree_.entries[entry].parent; at != kNoEntry; at = tree_.entries[at].parent) keeps_[at] = true;
  }

  void Remove(std::size_t at) {
    HeldEntry& folder = tree_.entries[at];
    for (int waited = 0;; ++waited) {
      const nt::Status status = MarkEntry(tree_, folder);
      if (status >= 0) {
        folder.handle.Reset();
        folder.state = State::Removed;
        return;
      }
      std::vector<std::wstring> added;
      if (status == nt::kDirectoryNotEmpty) added = AddedTo(at);
      if (status != nt::kDirectoryNotEmpty || !added.empty() || waited == kLingerWaits) {
        folder.handle.Reset();
        folder.state = State::Kept;
        left_.push_back({at, std::move(added), status});
        KeepAbove(at);
        return;
      }
      api::Sleep(kLingerWaitMs);
    }
  }

  // The names in the folder that the claim never met.
  std::vector<std::wstring> AddedTo(std::size_t folder) {
    std::vector<std::wstring> claimed;
    for (std::size_t at = folder + 1; at < tree_.entries.size(); ++at) {
      if (tree_.entries[at].parent == folder) claimed.push_back(tree_.entries[at].name);
    }
    std::vector<std::wstring> added;
    ListFolder(tree_.entries[folder].handle.Get(), buffer_, [&](const std::wstring& name, DWORD) {
      bool known = false;
      for (const std::wstring& name_ : claimed) known = known || name_ == name;
      if (!known) added.push_back(name);
    });
    return added;
  }

  HeldTree& tree_;
  std::size_t root_;
  std::vector<bool> keeps_;
  std::vector<FolderLeft> left_;
  std::vector<std::uint64_t> buffer_;
};

}  // namespace

void CloseMarked(HeldTree& tree) {
  std::size_t toRemove = 0;
  for (const HeldEntry& entry : tree.entries) {
    toRemove += entry.state == State::Marked || (entry.state == State::Held && entry.isFolder);
  }
  tree.removal = ProgressTicker(tree.Progress(), WorkProgress::Phase::Removing, toRemove);
  for (HeldEntry& entry : tree.entries) {
    if (entry.state != State::Marked) continue;
    entry.handle.Reset();
    entry.state = State::Removed;
    tree.removal.Step();
  }
  tree.TellMarksHeld(false);
}

std::vector<FolderLeft> RemoveFolders(HeldTree& tree, std::size_t root) { return FolderRemoval(tree, root).Run(); }

}  // namespace qvn
