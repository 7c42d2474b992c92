#pragma once
#include <cstddef>

namespace qvn {

// Told how far a long removal has come, so that a window can keep itself
// alive and show it; the removal by handles knows nothing of windows.
class WorkProgress {
 public:
  enum class Phase { Checking, Removing };

  virtual ~WorkProgress() = default;
  // `done` of `total` entries (0 while not yet known): every few hundred
  // entries, and when each phase ends.
  virtual void Reached(Phase phase, std::size_t done, std::size_t total) = 0;
  // True from the first delete mark set until the last is carried out or
  // undone: the end of the process meanwhile would carry out every mark.
  virtual void MarksHeld(bool held) = 0;
};

// Passes every `kEvery`-th step on, cheaply when nobody listens.
class ProgressTicker {
 public:
  static constexpr std::size_t kEvery = 200;

  ProgressTicker(WorkProgress* progress, WorkProgress::Phase phase, std::size_t total = 0)
      : progress_(progress), phase_(phase), total_(total) {}

  void Step() {
    if (++done_ % kEvery == 0 && progress_ != nullptr) progress_->Reached(phase_, done_, total_);
  }
  // The phase's end: told whatever the count.
  void End() {
    if (progress_ != nullptr) progress_->Reached(phase_, done_, total_ == 0 ? done_ : total_);
  }
  std::size_t Done() const { return done_; }

 private:
  WorkProgress* progress_;
  WorkProgress::Phase phase_;
  std::size_t total_;
  std::size_t done_ = 0;
};

}  // namespace qvn
