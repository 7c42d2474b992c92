#pragma once
#include "ui/Window.h"

namespace qvn {

// The main window: shows the Windows found and where Quorvane is installed,
// and offers the removal or a way out. Its load runs the start-up; its unload
// releases the file-system object.
class MenuForm : public Window {
 public:
  explicit MenuForm(ProgramFrame& frame);

 private:
  void OnLoad() override;
  void OnClick(int controlId) override;
  void OnUnload() override;
};

}  // namespace qvn
