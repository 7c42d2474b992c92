#include "services/HeldTree.h"

#include "services/MarkTree.h"

namespace qvn {

HeldTree::~HeldTree() { UndoMarks(*this); }

void HeldTree::TellMarksHeld(bool held) {
  if (held == marksHeld) return;
  marksHeld = held;
  if (progress_ != nullptr) progress_->MarksHeld(held);
}

std::wstring HeldTree::PathOf(std::size_t entry) const {
  std::vector<std::size_t> chain;
  for (std::size_t at = entry; at != kNoEntry; at = entries[at].parent) chain.push_back(at);
  std::wstring path;
  for (auto at = chain.rbegin(); at != chain.rend(); ++at) {
    if (!path.empty()) path += L'\\';
    path += entries[*at].name;
  }
  return path;
}

bool HeldTree::LiesIn(std::size_t entry, std::size_t folder) const {
  for (std::size_t at = entry; at != kNoEntry; at = entries[at].parent) {
    if (at == folder) return true;
  }
  return false;
}

}  // namespace qvn
