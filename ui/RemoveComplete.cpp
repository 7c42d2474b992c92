#include "ui/RemoveComplete.h"

#include "app/RemovalLog.h"
#include "services/MessageBox.h"
#include "services/SystemRestart.h"
#include "ui/ProgramFrame.h"

namespace qvn {
namespace {

enum : int { kLabel2 = kLabel1Id + 1, kLabel3, kCommand3 = 300 };

constexpr FontStyle kPromptFont{"MS Sans Serif", 12, 700};

constexpr ControlLayout kControls[] = {
    kTitleFrame,
    kTitle,
    {kLabel2, ControlKind::Label, L"Program removal completed.  The system must now be restarted", 1680, 1680, 2895,
     615, nullptr, Alignment::Centre},
    {kLabel3, ControlKind::Label, L"Press the button below to restart", 960, 2520, 4575, 495, &kPromptFont,
     Alignment::Centre},
    {kCommand3, ControlKind::Button, L"Press to restart the Computer", 1920, 3240, 3015, 495, nullptr,
     Alignment::Centre},
};

constexpr WindowLayout kForm{L"Completed", 6705, 4320, kControls, sizeof kControls / sizeof kControls[0]};

const wchar_t kNotRestarted[] =
    L"Windows did not restart the computer.\r\n\r\n"
    L"Please restart it yourself to finish removing Quorvane.";

}  // namespace

RemoveComplete::RemoveComplete(ProgramFrame& frame) : Window(frame, "QvnRemoveComplete", kForm) {}

void RemoveComplete::OnClick(int controlId) {
  if (controlId == kCommand3) RequestRestart();
}

void RemoveComplete::RequestRestart() {
  const bool accepted = RequestSystemRestart(Frame().IsNtFamily());
  if (RemovalLog* log = Frame().Log()) log->RestartRequested(accepted);
  if (!accepted) {
    ShowMessageBox(nullptr, kNotRestarted, L"Completed", MB_OK | MB_ICONWARNING);
  }
  Frame().UnloadMain();
  Unload();
}

}  // namespace qvn
