#include "ui/MenuForm.h"

#include "app/InitToolState.h"
#include "app/OneRunAtATime.h"
#include "app/RemovalLog.h"
#include "app/RemoveWhenNotInUse.h"
#include "ui/InUsePrompt.h"
#include "ui/ProgramFrame.h"
#include "ui/RemovalWatch.h"

namespace qvn {
namespace {

// Control ids: the Command1 pair is told apart by index, 0 and 1.
enum : int { kLabel2 = kLabel1Id + 1, kLabel3, kLabel4, kCaptionO, kCaptionC, kCommand1 = 100 };
constexpr int kStartRemoval = kCommand1 + 0;
constexpr int kExit = kCommand1 + 1;

constexpr FontStyle kDataFont{"MS Sans Serif", 8.25, 700};

// In tab order.
constexpr ControlLayout kControls[] = {
    kTitleFrame,
    kTitle,
    {kLabel2, ControlKind::Label,
     L"Click the button below to completely remove all aspects of the Quorvane program.  If you do not want to "
     L"remove, click the EXIT button to exit the program.",
     480, 1440, 5535, 855, nullptr, Alignment::Left},
    {kStartRemoval, ControlKind::Button, L"Start Removal Process", 840, 3360, 2415, 495, nullptr, Alignment::Centre},
    {kExit, ControlKind::Button, L"EXIT", 3720, 3360, 2415, 495, nullptr, Alignment::Centre},
    {kLabel3, ControlKind::Label, L"Label3", 1920, 2640, 4695, 255, &kDataFont, Alignment::Left},
    {kCaptionO, ControlKind::Label, L"OS is:", 480, 2280, 735, 375, nullptr, Alignment::Left},
    {kLabel4, ControlKind::Label, L"Label4", 1920, 2280, 4095, 255, &kDataFont, Alignment::Left},
    {kCaptionC, ControlKind::Label, L"Program Location:", 480, 2640, 1455, 375, nullptr, Alignment::Left},
};

constexpr WindowLayout kForm{L"Remove Quorvane", 6780, 4290, kControls, sizeof kControls / sizeof kControls[0]};

}  // namespace

MenuForm::MenuForm(ProgramFrame& frame) : Window(frame, "QvnRemoveMenuForm", kForm) {}

void MenuForm::OnLoad() {
  const StartupTexts texts = InitToolState(ProgramToolState());
  if (RemovalLog* log = Frame().Log()) log->Found(texts);
  SetControlText(kLabel4, texts.osLabel);
  SetControlText(kLabel3, texts.locationText);
}

namespace {

// The hourglass while a long step runs; the previous pointer comes back on
// every way out, a raised failure included.
class WaitCursor {
 public:
  WaitCursor() : previous_(::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)))) {}
  ~WaitCursor() { ::SetCursor(previous_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR previous_;
};

// Asks the user what to do while something the removal would delete is in use.
InUseAnswer AskWhatToDo(ProgramFrame& frame, HWND owner, const InUse& found) {
  if (RemovalLog* log = frame.Log()) log->FileInUse(found.path);
  InUsePrompt prompt(frame, owner, found);
  const InUseAnswer answer = prompt.Ask();
  // Closing programs, the check and the removal that follow take a while.
  ::SetCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
  return answer;
}

// True when the removal ran; false when the user gave up with nothing removed.
// Meanwhile the window stays alive, and Label2, the instruction, shows how
// far a long removal has come.
bool RemoveOnceQuorvaneIsClosed(ProgramFrame& frame, HWND owner) {
  WaitCursor busy;
  ToolState& state = ProgramToolState();
  const RemovalPlan plan = PlanRemoval(state);
  RemovalLog* log = frame.Log();
  if (log != nullptr) log->Planned(plan);
  RemovalWatch watch(owner, ::GetDlgItem(owner, kLabel2), log);
  const ProgramFrame::RemovalRunning running(frame, watch);
  const auto ask = [&frame, &watch, owner](const InUse& found) {
    watch.Pause();
    const InUseAnswer answer = AskWhatToDo(frame, owner, found);
    watch.Resume();
    return answer;
  };
  RemovalOptions options;
  options.observer = &watch;
  return RemoveWhenNotInUse(state, plan, ask, options);
}

}  // namespace

void MenuForm::OnClick(int controlId) {
  if (controlId == kStartRemoval) {
    // The turn is held through the prompt and the removal, and given back
    // before the completion window, which removes nothing.
    const bool removed =
        RemoveInTurn(Handle(), Frame().Log(), [this] { return RemoveOnceQuorvaneIsClosed(Frame(), Handle()); });
    if (removed) Frame().ShowCompletion();
  } else if (controlId == kExit) {
    Unload();
  }
}

void MenuForm::OnUnload() { ProgramToolState().FileSys.reset(); }

}  // namespace qvn
