#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "tests/fakes/SimulatedPlatform.h"
#include "ui/RemovalWatch.h"

namespace {

using Phase = qvn::RemovalProgress::Phase;

const HWND kWindow = reinterpret_cast<HWND>(0x100);
const HWND kLabel = reinterpret_cast<HWND>(0x104);
const char kInstruction[] = "Click the button below to completely remove all aspects of the Quorvane program.";
const wchar_t kReason[] = L"Quorvane is being removed. Ending now would leave it half removed.";

// How often the window has looked at its queue to answer what was sent, and
// how often it has thrown away the clicks and keys waiting there (three
// ranges each time: keys, the client area's mouse, the frame's).
int Answers(const SimulatedPlatform& platform) {
  return static_cast<int>(std::count(platform.windowCalls.begin(), platform.windowCalls.end(), L"PeekMessageA 0-0 keep"));
}
int Drops(const SimulatedPlatform& platform) {
  return static_cast<int>(
      std::count(platform.windowCalls.begin(), platform.windowCalls.end(), L"PeekMessageA 256-265 remove"));
}

// One removal's reports to the window, one after another, each at the time
// the clock shows: what the label shows after it, and how often the window
// has answered and dropped input by then. The clock starts 0.2 s before it
// wraps, which changes nothing.
TEST(RemovalWatch, ShowsHowFarALongRemovalHasComeAtMostTenTimesASecondAndAnswersAtEachReport) {
  enum class Event { Working, Pause, Resume, End };
  struct Row {
    const char* what;
    DWORD ms;  // since the removal started
    Event event;
    qvn::RemovalProgress progress;
    const char* label;
    int answers;
    int drops;
  };
  const Row rows[] = {
      {"the first half second shows nothing", 0, Event::Working, {Phase::Checking, 256, 0}, kInstruction, 1, 0},
      {"nor does its last moment", 499, Event::Working, {Phase::Checking, 512, 0}, kInstruction, 2, 0},
      {"half a second on the count shows", 500, Event::Working, {Phase::Checking, 768, 0}, "Checking files: 768", 3, 0},
      {"redrawn no sooner than 0.1 s after", 599, Event::Working, {Phase::Checking, 1024, 0}, "Checking files: 768", 4,
       0},
      {"0.1 s after", 600, Event::Working, {Phase::Checking, 1280, 0}, "Checking files: 1,280", 5, 0},
      {"the end of a phase shows at once", 620, Event::Working, {Phase::Checking, 1300, 1300},
       "Checking files: 1,300 of 1,300", 6, 0},
      {"so does a new phase", 640, Event::Working, {Phase::Removing, 1, 1300}, "Removing files: 1 of 1,300", 7, 0},
      {"and within it no sooner than 0.1 s after", 700, Event::Working, {Phase::Removing, 3, 1300},
       "Removing files: 1 of 1,300", 8, 0},
      {"stopped to ask: the label's own text, the input given meanwhile dropped", 760, Event::Pause, {}, kInstruction,
       8, 1},
      {"the answer starts the half second again", 9000, Event::Resume, {}, kInstruction, 8, 1},
      {"within it nothing shows, a new phase neither", 9499, Event::Working, {Phase::Checking, 256, 0}, kInstruction, 9,
       1},
      {"after it the count shows", 9500, Event::Working, {Phase::Removing, 1024, 1300}, "Removing files: 1,024 of 1,300",
       10, 1},
      {"the end: the label's own text, the input given meanwhile dropped", 9550, Event::End, {}, kInstruction, 10, 2},
  };
  SimulatedPlatform platform;
  const DWORD start = 0xFFFFFFFF - 200;
  platform.tickCount = start;
  platform.windowTexts[kLabel] = kInstruction;
  std::optional<qvn::RemovalWatch> watch(std::in_place, kWindow, kLabel, nullptr);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    platform.tickCount = start + row.ms;
    switch (row.event) {
      case Event::Working:
        watch->Working(row.progress);
        break;
      case Event::Pause:
        watch->Pause();
        break;
      case Event::Resume:
        watch->Resume();
        break;
      case Event::End:
        watch.reset();
        break;
    }
    EXPECT_EQ(platform.windowTexts[kLabel], row.label);
    EXPECT_EQ(Answers(platform), row.answers);
    EXPECT_EQ(Drops(platform), row.drops);
  }
  EXPECT_TRUE(platform.messageBoxes.empty());
}

// Ending the process would carry out every delete mark: while they are held
// the window refuses the end of the session, and where the system has the
// call (Vista and later) gives the reason with its window, withdrawn after.
TEST(RemovalWatch, RefusesTheEndOfTheSessionOnlyWhileMarksAreHeldAndSaysWhyWhereItCan) {
  enum class Event { Working, Held, Released, End };
  struct Step {
    Event event;
    bool sessionMayEnd;
    int reasonsGiven, reasonsWithdrawn;
  };
  const Step steps[] = {
      {Event::Working, true, 0, 0},   {Event::Held, false, 1, 0},  {Event::Working, false, 1, 0},
      {Event::Held, false, 1, 0},     {Event::Released, true, 1, 1}, {Event::Released, true, 1, 1},
      {Event::Held, false, 2, 1},     {Event::End, true, 2, 2},
  };
  for (const bool vista : {true, false}) {
    SCOPED_TRACE(vista ? "Vista and later" : "before Vista: no such call");
    SimulatedPlatform platform;
    if (!vista) {
      platform.WithholdEntryPoint("ShutdownBlockReasonCreate");
      platform.WithholdEntryPoint("ShutdownBlockReasonDestroy");
    }
    std::optional<qvn::RemovalWatch> watch(std::in_place, kWindow, kLabel, nullptr);
    for (std::size_t i = 0; i < std::size(steps); ++i) {
      const Step& step = steps[i];
      SCOPED_TRACE(i);
      switch (step.event) {
        case Event::Working:
          watch->Working({Phase::Removing, 1, 2});
          break;
        case Event::Held:
          watch->MarksHeld(true);
          break;
        case Event::Released:
          watch->MarksHeld(false);
          break;
        case Event::End:
          watch.reset();
          break;
      }
      // With the removal over, nothing refuses.
      EXPECT_EQ(!watch || watch->SessionMayEnd(), step.sessionMayEnd);
      const auto count = [&platform](const std::wstring& call) {
        return static_cast<int>(std::count(platform.windowCalls.begin(), platform.windowCalls.end(), call));
      };
      EXPECT_EQ(count(L"ShutdownBlockReasonCreate 256 " + std::wstring(kReason)), vista ? step.reasonsGiven : 0);
      EXPECT_EQ(count(L"ShutdownBlockReasonDestroy 256"), vista ? step.reasonsWithdrawn : 0);
    }
  }
}

}  // namespace
