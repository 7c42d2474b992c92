#include "ui/RemoveComplete.h"

#include "services/MessageBox.h"
#include "services/SystemRestart.h"
#include "ui/ProgramFrame.h"

namespace qvn {
namespace {

enum : int { kFrame1 = 10, kLabel1, kLabel2, kLabel3, kCommand3 = 300 };

constexpr FontSpec kPromptFont{"MS Sans Serif", 12, 700};

constexpr int kFrameLeft = 240;
constexpr int kFrameTop = 120;

constexpr ControlSpec kControls[] = {
    {kFrame1, ControlKind::Frame, L"", kFrameLeft, kFrameTop, 6135, 1095, nullptr, Alignment::Left},
    {kLabel1, ControlKind::Label, L"Quorvane Program Removal", kFrameLeft + 240, kFrameTop + 360, 5655, 495,
     &kTitleFont, Alignment::Centre},
    {kLabel2, ControlKind::Label, L"Program removal completed.  The system must now be restarted", 1680, 1680, 2895,
     615, nullptr, Alignment::Centre},
    {kLabel3, ControlKind::Label, L"Press the button below to restart", 960, 2520, 4575, 495, &kPromptFont,
     Alignment::Centre},
    {kCommand3, ControlKind::Button, L"Press to restart the Computer", 1920, 3240, 3015, 495, nullptr,
     Alignment::Centre},
};

constexpr FormSpec kForm{L"Completed", 6705, 4320, kControls, sizeof kControls / sizeof kControls[0]};

const wchar_t kNotRestarted[] =
    L"Windows did not restart the computer.\r\n\r\n"
    L"Please restart it yourself to finish removing Quorvane.";

}  // namespace

RemoveComplete::RemoveComplete(ProgramFrame& frame) : Window(frame, "QvnRemoveComplete", kForm) {}

void RemoveComplete::OnClick(int controlId) {
  if (controlId == kCommand3) RequestRestart();
}

void RemoveComplete::RequestRestart() {
  if (!RequestSystemRestart(Frame().IsNtFamily())) {
    ShowMessageBox(nullptr, kNotRestarted, L"Completed", MB_OK | MB_ICONWARNING);
  }
  Frame().UnloadMain();
  Unload();
}

}  // namespace qvn
