#pragma once
#include "ui/Window.h"

namespace qvn {

// The completion window: says the removal is done and offers the restart,
// which also closes the tool.
class RemoveComplete : public Window {
 public:
  explicit RemoveComplete(ProgramFrame& frame);

 private:
  void OnClick(int controlId) override;
  void RequestRestart();
};

}  // namespace qvn
