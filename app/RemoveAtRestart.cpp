#include "app/RemoveAtRestart.h"

#include <algorithm>

#include "app/LeaveHeldForRestart.h"
#include "services/AsideFolder.h"
#include "services/AutomationError.h"
#include "services/Concat.h"
#include "services/DecimalText.h"
#include "services/DeleteAtRestart.h"
#include "services/FolderAbove.h"
#include "services/FolderIdentity.h"
#include "services/SameText.h"
#include "services/SystemFolders.h"
#include "services/Wininit.h"

namespace qvn {
namespace {

std::wstring NameOf(const std::wstring& path) { return path.substr(path.rfind(L'\\') + 1); }

// Each folder from the one that holds `path` up to the target folder it lies
// in, nearest first; nothing for a target file.
std::vector<std::wstring> FoldersHolding(const std::wstring& path, const std::vector<RemovalTarget>& targets) {
  for (const RemovalTarget& target : targets) {
    if (!target.isFolder || !LiesInsideFolder(path, target.path)) continue;
    std::vector<std::wstring> folders;
    for (std::wstring folder = FolderAbove(path); folder.size() >= target.path.size(); folder = FolderAbove(folder)) {
      folders.push_back(folder);
    }
    return folders;
  }
  return {};
}

// The folders that stay with what stays in them, deepest first: a folder is
// deleted at the restart only when it is empty by then. Each goes in after
// every folder at least as long, so those of one length keep the order found
// (a handful of folders: no sorting machinery needed).
std::vector<std::wstring> FoldersThatStay(const std::vector<RemovalTarget>& inPlace,
                                          const std::vector<RemovalTarget>& targets) {
  std::vector<std::wstring> folders;
  const auto add = [&folders](const std::wstring& folder) {
    if (std::any_of(folders.begin(), folders.end(), [&](const std::wstring& f) { return SameText(f, folder); })) return;
    const auto shallower = std::find_if(folders.begin(), folders.end(),
                                        [&](const std::wstring& f) { return f.size() < folder.size(); });
    folders.insert(shallower, folder);
  };
  for (const RemovalTarget& entry : inPlace) {
    if (entry.isFolder) add(entry.path);
    for (const std::wstring& folder : FoldersHolding(entry.path, targets)) add(folder);
  }
  return folders;
}

struct Moved {
  std::wstring from;
  std::wstring to;
};

class Leaving {
 public:
  Leaving(const std::vector<RemovalTarget>& targets, RemovalObserver* observer)
      : targets_(targets), observer_(observer) {}

  // NT family: what can be moved goes aside, the rest is listed where it is.
  LeftForRestart OnNtFamily(const std::vector<RemovalTarget>& inUse, const std::wstring& installFolder) {
    const bool anyFile = std::any_of(inUse.begin(), inUse.end(), [](const RemovalTarget& e) { return !e.isFolder; });
    if (anyFile && !installFolder.empty()) {
      made_ = MakeFolderBeside(installFolder);
      aside_ = made_.path;
    }
    for (const RemovalTarget& entry : inUse) {
      if (!entry.isFolder && !aside_.empty()) {
        const std::wstring to =
            Concat({aside_, L"\\", DecimalText(static_cast<std::int32_t>(moved_.size() + 1)), L" ", NameOf(entry.path)});
        if (MoveEntry(LongForm(entry.path), LongForm(to)) == ERROR_SUCCESS) {
          moved_.push_back({entry.path, to});
          continue;
        }
      }
      inPlace_.push_back(entry);
    }
    std::vector<std::wstring> listed;
    for (const Moved& entry : moved_) listed.push_back(entry.to);
    for (const RemovalTarget& entry : inPlace_) {
      if (!entry.isFolder) listed.push_back(entry.path);
    }
    const std::vector<std::wstring> folders = FoldersThatStay(inPlace_, targets_);
    for (const std::wstring& folder : folders) listed.push_back(folder);
    if (!aside_.empty() && !moved_.empty()) {
      listed.push_back(made_.mark);
      listed.push_back(aside_);
    }
    const DWORD error = ListAllForRestart(listed);
    if (error != ERROR_SUCCESS) return Undone(RestartRefusal(error));
    DropAnEmptyAsideFolder();
    return Done(listed);
  }

  // 95/98/ME: the files are listed where they are; their folders stay.
  LeftForRestart On9x(const std::vector<RemovalTarget>& inUse) {
    std::vector<std::wstring> files;
    for (const RemovalTarget& entry : inUse) {
      inPlace_.push_back(entry);
      if (!entry.isFolder) files.push_back(entry.path);
    }
    const DWORD error = ScheduleDeletionsInWininit(files);
    if (error != ERROR_SUCCESS) return Undone(RestartRefusal(error));
    const std::vector<std::wstring> folders = FoldersThatStay(inPlace_, targets_);
    if (observer_ != nullptr) {
      for (const std::wstring& folder : folders) observer_->FolderMayRemain(folder);
    }
    return Done(files);
  }

 private:
  LeftForRestart Done(const std::vector<std::wstring>& listed) {
    if (observer_ != nullptr) {
      for (const Moved& entry : moved_) observer_->MovedAside(entry.from, entry.to);
      // What is not in the folder aside is listed where it is: a reinstall
      // before the restart puts its own file there, and loses it then.
      for (const std::wstring& path : listed) observer_->PendingAtRestart(path, ListedWhereItIs(path, aside_));
    }
    LeftForRestart left;
    left.done = true;
    for (const RemovalTarget& entry : inPlace_) left.staying.push_back(entry.path);
    return left;
  }

  // Everything moved goes back where it was, so that nothing of the
  // installation has changed; entries the system took before it refused
  // name the aside copies, which are gone again. A file that cannot go back
  // stops the removal with a failure that says where it is.
  LeftForRestart Undone(const std::wstring& refusal) {
    const Moved* stranded = nullptr;
    DWORD strandedError = ERROR_SUCCESS;
    for (auto entry = moved_.rbegin(); entry != moved_.rend(); ++entry) {
      const DWORD error = MoveEntry(LongForm(entry->to), LongForm(entry->from));
      if (error != ERROR_SUCCESS && stranded == nullptr) {
        stranded = &*entry;
        strandedError = error;
      }
    }
    if (stranded != nullptr) {
      throw SystemErrorFailure(strandedError, Concat({refusal, L", and a file moved out of the way could not be moved "
                                                               L"back: it is now ",
                                                     stranded->to}))
          .WithItem(stranded->from);
    }
    moved_.clear();
    DropAnEmptyAsideFolder();
    LeftForRestart left;
    left.refusal = refusal;
    return left;
  }

  void DropAnEmptyAsideFolder() {
    if (!aside_.empty() && moved_.empty()) DropAsideFolder(made_);
  }

  const std::vector<RemovalTarget>& targets_;
  RemovalObserver* observer_;
  AsideFolder made_;
  std::wstring aside_;
  std::vector<Moved> moved_;
  std::vector<RemovalTarget> inPlace_;
};

}  // namespace

std::wstring RestartRefusal(DWORD error) {
  const TextPiece why =
      error == ERROR_ACCESS_DENIED ? TextPiece(L", access denied: that needs administrator rights") : TextPiece(L"");
  return Concat({L"Windows would not remove it at restart (error ", DecimalText(static_cast<std::int32_t>(error)),
                 why, L")"});
}

DWORD ListAllForRestart(std::vector<std::wstring>& paths) {
  for (std::wstring& path : paths) {
    path = AsNamedAtBoot(path);
    const DWORD error = ScheduleDeletionAtRestart(LongForm(path));
    if (error != ERROR_SUCCESS) return error;
  }
  return ERROR_SUCCESS;
}

bool ListedWhereItIs(const std::wstring& listed, const std::wstring& aside) {
  if (aside.empty()) return true;
  const std::wstring atBoot = AsNamedAtBoot(aside);
  return !(SameText(listed, atBoot) || LiesInsideFolder(listed, atBoot));
}

std::wstring AsNamedAtBoot(const std::wstring& path) {
  const std::wstring through = ThroughSubstitutedDrive(path);
  return through.empty() ? path : through;
}

std::vector<RemovalTarget> AlreadyPendingAtRestart(const std::vector<RemovalTarget>& inUse, bool ntFamily) {
  std::vector<RemovalTarget> pending;
  if (inUse.empty()) return pending;
  const std::vector<std::wstring> listed = ntFamily ? DeletionsPendingAtRestart() : DeletionsPendingInWininit();
  for (const RemovalTarget& entry : inUse) {
    // 95/98/ME list files by their short names; the NT family by the names
    // they have at boot.
    const std::wstring other = ntFamily ? AsNamedAtBoot(entry.path) : ShortPathOf(entry.path);
    const bool listedAlready = std::any_of(listed.begin(), listed.end(), [&](const std::wstring& path) {
      return SameText(path, entry.path) || (!other.empty() && SameText(path, other));
    });
    if (listedAlready) pending.push_back(entry);
  }
  return pending;
}

std::vector<std::wstring> ListWhatWouldGoAtRestart(const std::vector<RemovalTarget>& targets, bool ntFamily) {
  const std::vector<RemovalTarget> inUse = SurveyTargets(targets, true, ntFamily).inUse;
  const std::vector<RemovalTarget> pending = AlreadyPendingAtRestart(inUse, ntFamily);
  std::vector<std::wstring> lines;
  for (const RemovalTarget& entry : inUse) {
    const bool already = std::any_of(pending.begin(), pending.end(), [&](const RemovalTarget& p) { return p.path == entry.path; });
    lines.push_back((already ? L"Already left for the restart: " : L"In use, would be left for the restart: ") + entry.path);
  }
  if (lines.empty()) lines.push_back(L"Nothing in use to leave for the restart");
  return lines;
}

LeftForRestart LeaveForRestart(const std::vector<RemovalTarget>& inUse, const std::vector<RemovalTarget>& targets,
                               const std::wstring& installFolder, bool ntFamily, RemovalObserver* observer) {
  Leaving leaving(targets, observer);
  return ntFamily ? leaving.OnNtFamily(inUse, installFolder) : leaving.On9x(inUse);
}

}  // namespace qvn
