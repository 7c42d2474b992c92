#include "app/LeaveHeldForRestart.h"

#include "services/AsideFolder.h"
#include "services/AutomationError.h"
#include "services/Concat.h"
#include "services/DecimalText.h"
#include "services/DeleteAtRestart.h"
#include "services/FileCalls.h"
#include "services/NtFileCalls.h"

namespace qvn {
namespace {

using State = HeldEntry::State;

// The folder aside is written to: files renamed into it.
constexpr DWORD kAsideAccess = nt::kAddFile | nt::kAddSubdirectory | nt::kListDirectory | nt::kSynchronize;

class HeldLeaving {
 public:
  HeldLeaving(HeldTree& tree, RemovalObserver* observer) : tree_(tree), observer_(observer) {}

  // Whatever ends the leaving early puts every renamed file back.
  ~HeldLeaving() {
    if (!kept_) MoveBack();
  }
  HeldLeaving(const HeldLeaving&) = delete;
  HeldLeaving& operator=(const HeldLeaving&) = delete;

  LeftForRestart Run(const std::vector<std::size_t>& inUse, const std::vector<std::size_t>& refused,
                     const std::wstring& installFolder) {
    if (!refused.empty() && !installFolder.empty()) OpenFolderAside(installFolder);
    std::vector<std::size_t> inPlace = inUse;
    for (std::size_t entry : refused) {
      if (!MoveAside(entry)) inPlace.push_back(entry);
    }
    std::vector<std::wstring> listed;
    for (const Moved& moved : moved_) listed.push_back(moved.to);
    for (std::size_t entry : inPlace) {
      if (!tree_.entries[entry].isFolder) listed.push_back(tree_.PathOf(entry));
    }
    for (std::size_t folder : FoldersThatStay(inPlace)) listed.push_back(tree_.PathOf(folder));
    if (!moved_.empty()) {
      listed.push_back(made_.mark);
      listed.push_back(aside_);
    }
    const DWORD error = ListAllForRestart(listed);
    if (error != ERROR_SUCCESS) return Undone(RestartRefusal(error));
    kept_ = true;
    asideHandle_.Reset();
    DropAnEmptyFolderAside();
    if (observer_ != nullptr) {
      for (const Moved& moved : moved_) observer_->MovedAside(tree_.PathOf(moved.entry), moved.to);
      for (const std::wstring& path : listed) observer_->PendingAtRestart(path, ListedWhereItIs(path, aside_));
    }
    LeftForRestart left;
    left.done = true;
    for (std::size_t entry : inPlace) left.staying.push_back(tree_.PathOf(entry));
    return left;
  }

 private:
  struct Moved {
    std::size_t entry;
    std::wstring to;
  };

  void OpenFolderAside(const std::wstring& installFolder) {
    made_ = MakeFolderBeside(installFolder);
    if (made_.path.empty()) return;
    aside_ = made_.path;
    OpenTarget(aside_, kAsideAccess, tree_.ReparsePoints(), asideHandle_);
  }

  // Renamed through its own handle, numbered so that two names alike from
  // two folders do not meet. Only an entry listed in a folder the claim
  // holds can be put back there.
  bool MoveAside(std::size_t at) {
    HeldEntry& entry = tree_.entries[at];
    if (!asideHandle_ || entry.parent == kNoEntry) return false;
    const std::wstring name =
        Concat({DecimalText(static_cast<std::int32_t>(moved_.size() + 1)), L" ", entry.name});
    if (RenameInto(entry.handle.Get(), asideHandle_.Get(), name) < 0) return false;
    entry.state = State::Moved;
    moved_.push_back({at, Concat({aside_, L"\\", name})});
    return true;
  }

  // The folders that keep an entry staying where it is, and the folders in
  // use themselves, each up to its target: a folder goes at the restart only
  // once it is empty, so these come after their contents, deepest first
  // (every entry was claimed after the folder it lies in).
  std::vector<std::size_t> FoldersThatStay(const std::vector<std::size_t>& inPlace) const {
    std::vector<bool> stays(tree_.entries.size(), false);
    for (std::size_t entry : inPlace) {
      std::size_t at = tree_.entries[entry].isFolder ? entry : tree_.entries[entry].parent;
      for (; at != kNoEntry; at = tree_.entries[at].parent) stays[at] = true;
    }
    std::vector<std::size_t> folders;
    for (std::size_t at = stays.size(); at-- > 0;) {
      if (stays[at]) folders.push_back(at);
    }
    return folders;
  }

  // Everything renamed goes back where it was; entries the system took
  // before it refused name the copies aside, which are gone again. A file
  // that cannot go back stops the removal with a failure saying where it is.
  LeftForRestart Undone(const std::wstring& refusal) {
    const Moved* stranded = MoveBack();
    if (stranded != nullptr) {
      throw SystemErrorFailure(strandedError_,
                               Concat({refusal, L", and a file moved out of the way could not be moved back: it is now ",
                                       stranded->to}))
          .WithItem(tree_.PathOf(stranded->entry));
    }
    kept_ = true;
    asideHandle_.Reset();
    DropAnEmptyFolderAside();
    LeftForRestart left;
    left.refusal = refusal;
    return left;
  }

  // The first file that would not go back, or null.
  const Moved* MoveBack() noexcept {
    const Moved* stranded = nullptr;
    for (auto moved = moved_.rbegin(); moved != moved_.rend(); ++moved) {
      HeldEntry& entry = tree_.entries[moved->entry];
      HoldForAddingOnly(entry.parent);
      const HeldEntry& folder = tree_.entries[entry.parent];
      nt::Status status = nt::kInvalidParameter;
      try {
        status = RenameInto(entry.handle.Get(), folder.handle.Get(), entry.name);
      } catch (...) {
        // Bound already to move it aside: not reached.
      }
      if (status >= 0) {
        entry.state = State::Refused;
      } else if (stranded == nullptr) {
        stranded = &*moved;
        try {
          strandedError_ = ErrorOfStatus(status);
        } catch (...) {
          strandedError_ = ERROR_ALREADY_EXISTS;
        }
      }
    }
    if (stranded == nullptr) moved_.clear();
    return stranded;
  }

  // The system opens the folder a name goes back into for writing, sharing
  // reading and writing only, which the claim's own hold on it (it may delete
  // it) refuses: it is held again for adding only. Only on the way out,
  // where nothing more is removed with this tree.
  void HoldForAddingOnly(std::size_t at) noexcept {
    HeldEntry& folder = tree_.entries[at];
    if (folder.state != State::Held) return;
    try {
      KernelHandle adding;
      const bool opened =
          folder.parent == kNoEntry
              ? OpenTarget(folder.name, kAsideAccess, tree_.ReparsePoints(), adding) == ERROR_SUCCESS
              : OpenEntry(tree_.entries[folder.parent].handle.Get(), folder.name, true, tree_.ReparsePoints(),
                          kAsideAccess, adding) >= 0;
      if (opened) folder.handle = std::move(adding);
    } catch (...) {
      // Bound already for the claim: not reached.
    }
  }

  void DropAnEmptyFolderAside() {
    if (!aside_.empty() && moved_.empty()) DropAsideFolder(made_);
  }

  HeldTree& tree_;
  RemovalObserver* observer_;
  AsideFolder made_;
  std::wstring aside_;
  KernelHandle asideHandle_;
  std::vector<Moved> moved_;
  DWORD strandedError_ = ERROR_SUCCESS;
  bool kept_ = false;
};

}  // namespace

std::wstring LongForm(const std::wstring& path) {
  const bool onDrive = path.size() >= 3 && path[1] == L':' && path[2] == L'\\';
  return onDrive ? Concat({L"\\\\?\\", path}) : path;
}

LeftForRestart LeaveHeldForRestart(HeldTree& tree, const std::vector<std::size_t>& inUse,
                                   const std::vector<std::size_t>& refused, const std::wstring& installFolder,
                                   RemovalObserver* observer) {
  return HeldLeaving(tree, observer).Run(inUse, refused, installFolder);
}

}  // namespace qvn
