#pragma once
// The removal by handles, on the NT family: every file and folder of
// Quorvane is held, and proved deletable, before any is removed.
//
// 1. Claim (ClaimTree.h). Each target is opened by its path, each entry inside
//    a folder relative to that folder's handle, by the exact name the listing
//    gave, for deletion and sharing everything. Whatever another program holds
//    without sharing deletion refuses the claim; whoever opens a claimed entry
//    later without sharing deletion is refused. A relative open knows no DOS
//    device names (con, aux.txt), no trailing dots or spaces and no
//    260-character limit, and since no folder above an entry is ever named
//    again, none can be swapped for a link between the listing and the open.
//    Links (junctions, symbolic links, mounted folders) are decided from the
//    open handle, claimed as themselves and never entered.
// 2. Mark (MarkTree.h), in one tight loop straight after the claim: the
//    delete mark is set on every file and link, deepest first. A mark takes
//    effect when its handle closes, and the end of the process closes every
//    handle: so no mark is ever held across a prompt or any other wait, and
//    a refusal undoes every mark before anything else happens.
// 3. Commit (CommitTree.h): the files' handles close and the files go; then
//    the folders go, deepest first, each marked once it is empty.
//
// What each phase does with the system's answer:
//
// | phase | status                                     | meaning                                   | what the run does |
// |-------|--------------------------------------------|-------------------------------------------|-------------------|
// | claim | STATUS_SHARING_VIOLATION                   | held elsewhere without delete sharing     | in use: the prompt, or 1618, nothing removed |
// | claim | STATUS_ACCESS_DENIED                       | an access list denies Delete              | failure naming the entry, nothing removed (1603) |
// | claim | STATUS_DELETE_PENDING                      | being deleted by someone else             | wait briefly, then count it as gone |
// | claim | STATUS_OBJECT_NAME_NOT_FOUND               | gone meanwhile                            | skip it |
// | claim | STATUS_NOT_A_DIRECTORY, _FILE_IS_A_DIRECTORY | swapped meanwhile                       | list the folder again once; then a failure, nothing removed |
// | mark  | STATUS_CANNOT_DELETE                       | a mapped view (a running program, a loaded library, a mapped data file) or read-only | in use; the prompt names a program when one is found, and says "in use" when none is |
// | any   | anything else                              | —                                         | failure naming the entry and its status, everything undone |
//
// At the commit a folder that will not go (STATUS_DIRECTORY_NOT_EMPTY) holds
// a name another program keeps open with delete sharing, which goes when
// that program lets go (waited for briefly), or an entry nobody claimed,
// added meanwhile: either way it is left for the restart.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "services/KernelHandle.h"
#include "services/PlatformTypes.h"
#include "services/WorkProgress.h"

namespace qvn {

inline constexpr std::size_t kNoEntry = static_cast<std::size_t>(-1);

// The most entries held at once. Every open file costs the system memory
// (nonpaged pool, which 32-bit XP caps at 256 MB, less on small machines and
// on NT 4.0), and Wine keeps a host descriptor for each, which the process's
// descriptor limit caps (20,000 where this was measured). Above it, the
// removal goes one folder at a time.
inline constexpr std::size_t kHeldEntriesCeiling = 16000;

// One file or folder of what the removal deletes, as the claim left it.
struct HeldEntry {
  enum class State : std::uint8_t {
    Held,     // open for deletion, sharing everything with everyone
    InUse,    // refused at the claim: held elsewhere without delete sharing
    Listed,   // a folder in use, open for listing only, so that what is in it is claimed
    Marked,   // its delete mark is set: it goes when its handle closes
    Refused,  // its mark was refused: a running program, a loaded library
    Moved,    // renamed out of the targets, into the folder aside for the restart
    Removed,  // the commit took it away (its handle closed with the mark)
    Kept,     // a folder the commit left as it was: it keeps something, or would not go
  };

  KernelHandle handle;
  std::wstring name;              // as the listing gave it; for a target, its full path
  std::size_t parent = kNoEntry;  // the folder it was listed in; kNoEntry for a target
  std::size_t target = 0;         // the target it lies in, by the index of its entry
  State state = State::Held;
  bool isFolder = false;
  bool isLink = false;            // a junction, symbolic link or mounted folder: claimed as itself
  bool attributesCleared = false; // read-only taken off for the mark; put back when it is undone
  bool markedEx = false;          // marked with Windows 10's form: cleared with it too
  DWORD attributes = 0;           // as the claim found them
};

// The entries of one claim, in the order claimed: every target, then each
// folder's entries after the folder. Owning the handles, it undoes every
// mark still set before it releases them, so that a tree dropped on any way
// out (a failure, an answer to ask for) leaves everything as it was.
class HeldTree {
 public:
  // `progress` (may be null) is told of the phases and of the marks.
  explicit HeldTree(bool reparsePoints, WorkProgress* progress = nullptr)
      : removal(progress, WorkProgress::Phase::Removing), reparsePoints_(reparsePoints), progress_(progress) {}
  ~HeldTree();
  HeldTree(const HeldTree&) = delete;
  HeldTree& operator=(const HeldTree&) = delete;

  std::vector<HeldEntry> entries;
  // How many entries the commit has removed, of how many it will.
  ProgressTicker removal;
  // Told the progress that marks are held, and not yet that they are gone.
  bool marksHeld = false;
  void TellMarksHeld(bool held);

  // The entry's full path, by the names the claim met.
  std::wstring PathOf(std::size_t entry) const;
  // Whether `entry` is `folder` or lies inside it.
  bool LiesIn(std::size_t entry, std::size_t folder) const;

  bool ReparsePoints() const { return reparsePoints_; }
  WorkProgress* Progress() const { return progress_; }

  // How the delete mark is set: Windows 10's form while the system accepts
  // it, then the form every NT knows.
  enum class MarkForm : std::uint8_t { PosixIgnoringReadOnly, Posix, Classic };
  MarkForm markForm = MarkForm::PosixIgnoringReadOnly;

 private:
  bool reparsePoints_;
  WorkProgress* progress_;
};

}  // namespace qvn
