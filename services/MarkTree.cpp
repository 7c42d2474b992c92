#include "services/MarkTree.h"

#include "services/AutomationError.h"
#include "services/Concat.h"
#include "services/NtFileCalls.h"
#include "services/PlatformApi.h"

namespace qvn {
namespace {

using State = HeldEntry::State;
using MarkForm = HeldTree::MarkForm;

// The answers of a system that does not know a form of the mark: an older
// Windows 10 (the flag), a file system without POSIX deletion, Windows
// before 10 (the class), Wine. The version is never looked at: the answer
// says it.
bool FormRefused(nt::Status status) {
  return status == nt::kInvalidParameter || status == nt::kNotSupported || status == nt::kInvalidInfoClass ||
         status == nt::kNotImplemented;
}

bool IsReadOnly(const HeldEntry& entry) { return (entry.attributes & FILE_ATTRIBUTE_READONLY) != 0; }

// A mark refuses a read-only entry: the attribute comes off first, and 0
// would mean "no change", so a file with no other attribute gets NORMAL.
nt::Status ClearReadOnly(HeldEntry& entry) {
  if (!IsReadOnly(entry) || entry.attributesCleared) return nt::kSuccess;
  const nt::Status status = WriteAttributes(entry.handle.Get(), entry.attributes & ~FILE_ATTRIBUTE_READONLY);
  entry.attributesCleared = status >= 0;
  return status;
}

void PutBackAttributes(HeldEntry& entry) {
  if (!entry.attributesCleared) return;
  if (WriteAttributes(entry.handle.Get(), entry.attributes) >= 0) entry.attributesCleared = false;
}

// A file with more than one name shares its attributes with names outside
// the targets, which stay: they get theirs back once the mark is set.
void PutBackSharedAttributes(HeldEntry& entry) {
  BY_HANDLE_FILE_INFORMATION information{};
  if (entry.attributesCleared && !entry.isFolder && api::GetFileInformationByHandle(entry.handle.Get(), &information) &&
      information.nNumberOfLinks > 1) {
    PutBackAttributes(entry);
  }
}

nt::Status MarkIn(MarkForm form, HeldEntry& entry) {
  if (form == MarkForm::PosixIgnoringReadOnly) {
    return SetDeleteMarkEx(entry.handle.Get(),
                           nt::kDispositionDelete | nt::kDispositionPosixSemantics | nt::kDispositionIgnoreReadOnly);
  }
  const nt::Status cleared = ClearReadOnly(entry);
  if (cleared < 0) return cleared;
  if (form == MarkForm::Posix) {
    return SetDeleteMarkEx(entry.handle.Get(), nt::kDispositionDelete | nt::kDispositionPosixSemantics);
  }
  return SetDeleteMark(entry.handle.Get(), true);
}

MarkForm Older(MarkForm form) {
  return form == MarkForm::PosixIgnoringReadOnly ? MarkForm::Posix : MarkForm::Classic;
}

}  // namespace

nt::Status MarkEntry(HeldTree& tree, HeldEntry& entry) {
  for (;;) {
    const MarkForm form = tree.markForm;
    const nt::Status status = MarkIn(form, entry);
    if (form != MarkForm::Classic && FormRefused(status)) {
      tree.markForm = Older(form);
      continue;
    }
    if (status < 0) {
      PutBackAttributes(entry);
      return status;
    }
    entry.state = State::Marked;
    entry.markedEx = form != MarkForm::Classic;
    PutBackSharedAttributes(entry);
    return status;
  }
}

std::vector<std::size_t> MarkTree(HeldTree& tree) {
  std::size_t total = 0;
  for (const HeldEntry& entry : tree.entries) total += entry.state == State::Held && (!entry.isFolder || entry.isLink);
  // Marking ends the check: the window keeps the claim's count, and is kept
  // alive every few hundred marks.
  const std::size_t claimed = tree.entries.size();
  std::size_t marked = 0;
  if (total != 0) tree.TellMarksHeld(true);
  std::vector<std::size_t> refused;
  // Deepest first: every entry comes after the folder it was listed in.
  for (std::size_t at = tree.entries.size(); at-- > 0;) {
    HeldEntry& entry = tree.entries[at];
    if (entry.state != State::Held || (entry.isFolder && !entry.isLink)) continue;
    const nt::Status status = MarkEntry(tree, entry);
    if (++marked % ProgressTicker::kEvery == 0 && tree.Progress() != nullptr) {
      tree.Progress()->Reached(WorkProgress::Phase::Checking, claimed, claimed);
    }
    if (status >= 0) continue;
    if (status == nt::kCannotDelete) {
      entry.state = State::Refused;
      refused.push_back(at);
      continue;
    }
    UndoMarks(tree);
    throw SystemErrorFailure(ErrorOfStatus(status),
                             Concat({L"It cannot be marked for deletion (status ", StatusText(status),
                                     L"), so nothing of Quorvane has been removed"}))
        .WithItem(tree.PathOf(at));
  }
  return refused;
}

void UndoMarks(HeldTree& tree) noexcept {
  for (HeldEntry& entry : tree.entries) {
    try {
      if (entry.state == State::Marked) {
        // Should the system refuse this, the entry still goes with its handle:
        // nothing else can keep it.
        if (entry.markedEx) {
          SetDeleteMarkEx(entry.handle.Get(), 0);
        } else {
          SetDeleteMark(entry.handle.Get(), false);
        }
        entry.state = State::Held;
      }
      PutBackAttributes(entry);
    } catch (...) {
      // An entry point that cannot be bound now was bound to set the mark.
    }
  }
  try {
    tree.TellMarksHeld(false);
  } catch (...) {
    // A window that cannot repaint changes nothing of the files.
  }
}

}  // namespace qvn
