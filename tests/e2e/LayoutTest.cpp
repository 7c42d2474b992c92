#include <gtest/gtest.h>

#include <cstdlib>
#include <iterator>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "tests/e2e/ProgramDriver.h"
#include "tests/wine/FileFixture.h"
#include "tests/wine/Installation.h"
#include "tests/wine/RegistryFixture.h"

namespace {

using e2e::Control;
using e2e::ControlFont;

// The display's resolution in this run: tests/e2e/run sets Wine's LogPixels to
// it before the program starts and names it in QVN_DPI.
int Dpi() {
  const char* dpi = std::getenv("QVN_DPI");
  return dpi != nullptr ? std::atoi(dpi) : 96;
}

// Twips at this run's resolution, 1440 to the inch, to the nearest pixel.
LONG Px(int twips) { return ::MulDiv(twips, Dpi(), 1440); }

// A font size in hundredths of a point as its LOGFONT character height here.
LONG FontHeight(int centipoints) { return -::MulDiv(centipoints, Dpi(), 7200); }

// What a control is for. A caption is fixed text and must show whole at every
// resolution; data (a folder, the system's name) may be cut off at its box.
enum class Kind { Frame, Caption, Data, Button, DefaultButton };

struct Expected {
  int id;  // the control's id in the program, to find its font
  Kind kind;
  const char* text;
  int left, top, width, height;  // twips, client coordinates
  const char* face;              // null: the window font
  int centipoints;               // its size, in hundredths of a point
  LONG weight;
  bool centred;
};

const Expected kMain[] = {
    {10, Kind::Frame, "", 240, 120, 6135, 1095, nullptr, 825, 400, false},
    {11, Kind::Caption, "Quorvane Program Removal", 480, 480, 5655, 495, "Arial Black", 1425, 400, true},
    {12, Kind::Caption,
     "Click the button below to completely remove all aspects of the Quorvane program.  If you do not want to remove, "
     "click the EXIT button to exit the program.",
     480, 1440, 5535, 855, nullptr, 825, 400, false},
    {100, Kind::Button, "Start Removal Process", 840, 3360, 2415, 495, nullptr, 825, 400, false},
    {101, Kind::Button, "EXIT", 3720, 3360, 2415, 495, nullptr, 825, 400, false},
    {13, Kind::Data, "C:\\Program Files\\Quorvane", 1920, 2640, 4695, 255, "MS Sans Serif", 825, 700, false},
    {15, Kind::Caption, "OS is:", 480, 2280, 735, 375, nullptr, 825, 400, false},
    {14, Kind::Data, "Windows 2000 or XP", 1920, 2280, 4095, 255, "MS Sans Serif", 825, 700, false},
    {16, Kind::Caption, "Program Location:", 480, 2640, 1455, 375, nullptr, 825, 400, false},
};

const Expected kCompletion[] = {
    {10, Kind::Frame, "", 240, 120, 6135, 1095, nullptr, 825, 400, false},
    {11, Kind::Caption, "Quorvane Program Removal", 480, 480, 5655, 495, "Arial Black", 1425, 400, true},
    {12, Kind::Caption, "Program removal completed.  The system must now be restarted", 1680, 1680, 2895, 615,
     nullptr, 825, 400, true},
    {13, Kind::Caption, "Press the button below to restart", 960, 2520, 4575, 495, "MS Sans Serif", 1200, 700, true},
    {300, Kind::Button, "Press to restart the Computer", 1920, 3240, 3015, 495, nullptr, 825, 400, false},
};

// With a program of Quorvane's running, so that all four choices show. The
// text names what is in use and is not compared here (null).
const Expected kInUsePrompt[] = {
    {400, Kind::Data, nullptr, 240, 240, 6720, 2700, nullptr, 825, 400, false},
    {401, Kind::DefaultButton, "Retry", 4440, 3180, 1200, 375, nullptr, 825, 400, false},
    {402, Kind::Button, "Cancel", 5760, 3180, 1200, 375, nullptr, 825, 400, false},
    {403, Kind::Button, "Close Quorvane", 240, 3180, 1980, 375, nullptr, 825, 400, false},
    {404, Kind::Button, "Remove at Restart", 2340, 3180, 1980, 375, nullptr, 825, 400, false},
};

// A run of the program up to one of its windows, with what that window needs
// kept in place (a hook, a file held open) until it has been looked at.
struct Session {
  std::shared_ptr<void> held;  // released after the program has ended
  std::optional<e2e::RunningProgram> program;
};

void ExpectWithinAPixel(LONG actual, LONG expected, const char* what) {
  EXPECT_LE(std::abs(actual - expected), 1) << what << ": " << actual << " against " << expected;
}

// The main window opens centred on the screen.
HWND OpenMainWindow(Session& session) {
  session.program.emplace();
  HWND main = session.program->WaitForWindow("Remove Quorvane");
  if (main == nullptr) return nullptr;
  RECT frame{};
  ::GetWindowRect(main, &frame);
  ExpectWithinAPixel((frame.left + frame.right) / 2, ::GetSystemMetrics(SM_CXSCREEN) / 2, "centre across");
  ExpectWithinAPixel((frame.top + frame.bottom) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2, "centre down");
  return main;
}

// After a removal, modeless and without an owner.
HWND OpenCompletionWindow(Session& session) {
  HWND main = OpenMainWindow(session);
  if (main == nullptr) return nullptr;
  e2e::Click(main, "Start Removal Process");
  HWND done = session.program->WaitForWindow("Completed");
  if (done != nullptr) {
    EXPECT_EQ(::GetWindow(done, GW_OWNER), nullptr);
  }
  return done;
}

// The failure report, on a main window refused as a system out of window
// resources would refuse it.
HWND OpenFailureReport(Session& session) {
  session.held = std::make_shared<e2e::ProbeHook>(WH_CBT, "RefuseMainWindow", 0);
  session.program.emplace();
  const std::optional<e2e::MessageBoxSeen> box = session.program->WaitForMessageBox();
  if (!box.has_value()) return nullptr;
  EXPECT_NE(box->text.find("CreateWindowExA failed"), std::string::npos) << box->text;
  return box->handle;
}

// The in-use prompt, owned by the main window, with Quorvane.exe running from
// the install folder (a copy of this test program, without a window).
HWND OpenInUsePrompt(Session& session) {
  const std::string quorvane = std::string(fixture::kInstallFolder) + "\\Quorvane.exe";
  if (!fixture::CopyThisProgramTo(quorvane)) return nullptr;
  session.held = std::make_shared<fixture::ProgramRunning>(quorvane, "C:\\qvn-e2e");
  HWND main = OpenMainWindow(session);
  if (main == nullptr) return nullptr;
  e2e::Click(main, "Start Removal Process");
  HWND prompt = session.program->WaitForWindow("QvnRemove");
  if (prompt != nullptr) {
    EXPECT_EQ(::GetWindow(prompt, GW_OWNER), main);
  }
  return prompt;
}

// One window the program shows. The program's own windows are laid out from
// their tables in twips; a message box is laid out by the system and has none.
struct WindowRow {
  const char* name;  // the test's, and its screenshot's
  HWND (*open)(Session&);
  int clientWidth, clientHeight;  // twips
  const Expected* controls;       // in tab order; null: a box the system lays out
  std::size_t controlCount;
};

// Names the row in gtest's messages, instead of its bytes.
void PrintTo(const WindowRow& row, std::ostream* output) { *output << row.name; }

const WindowRow kWindows[] = {
    {"MainWindow", OpenMainWindow, 6780, 4290, kMain, std::size(kMain)},
    {"CompletionWindow", OpenCompletionWindow, 6705, 4320, kCompletion, std::size(kCompletion)},
    {"FailureReport", OpenFailureReport, 0, 0, nullptr, 0},
    {"InUsePrompt", OpenInUsePrompt, 7200, 3795, kInUsePrompt, std::size(kInUsePrompt)},
};

void ExpectControlStyle(const Control& control, const Expected& expected) {
  switch (expected.kind) {
    case Kind::Frame:
      EXPECT_EQ(control.className, "Button");
      EXPECT_EQ(control.style & BS_TYPEMASK, BS_GROUPBOX);
      break;
    case Kind::Caption:
    case Kind::Data:
      EXPECT_EQ(control.className, "Static");
      EXPECT_EQ(control.style & SS_TYPEMASK, expected.centred ? SS_CENTER : SS_LEFT);
      EXPECT_TRUE(control.style & SS_NOPREFIX);
      break;
    case Kind::Button:
    case Kind::DefaultButton:
      // Enter presses only a default button; a window of the program's own has
      // one only where the table says so.
      EXPECT_EQ(control.className, "Button");
      EXPECT_EQ(control.style & BS_TYPEMASK, expected.kind == Kind::DefaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
      EXPECT_TRUE(control.style & WS_TABSTOP);
      break;
  }
}

void ExpectControlFont(const ControlFont& font, const Expected& expected) {
  ASSERT_TRUE(font.read);
  EXPECT_EQ(font.id, expected.id);
  if (expected.face != nullptr) {
    EXPECT_STREQ(font.font.lfFaceName, expected.face);
    EXPECT_EQ(font.font.lfCharSet, ANSI_CHARSET);
  }
  if (expected.face != nullptr || std::string(font.font.lfFaceName) == "MS Sans Serif") {
    EXPECT_EQ(font.font.lfHeight, FontHeight(expected.centipoints));
    EXPECT_EQ(font.font.lfWeight, expected.weight);
  }
  EXPECT_FALSE(font.font.lfItalic || font.font.lfUnderline || font.font.lfStrikeOut);
}

// Position and size are the table's twips at this resolution, and so is the font.
void ExpectAsInTable(const Control& control, const ControlFont& font, const Expected& expected) {
  EXPECT_EQ(control.id, expected.id);
  if (expected.text != nullptr) {
    EXPECT_EQ(control.text, expected.text);
  }
  ExpectWithinAPixel(control.rect.left, Px(expected.left), "left");
  ExpectWithinAPixel(control.rect.top, Px(expected.top), "top");
  ExpectWithinAPixel(control.rect.right - control.rect.left, Px(expected.width), "width");
  ExpectWithinAPixel(control.rect.bottom - control.rect.top, Px(expected.height), "height");
  ExpectControlStyle(control, expected);
  ExpectControlFont(font, expected);
}

// A caption is whole when the text its font draws fits the control: wrapped
// text in its height, a button's one line inside its raised edge.
void ExpectCaptionWhole(const Control& control, const ControlFont& measured) {
  const bool button = control.className == "Button" && (control.style & BS_TYPEMASK) != BS_GROUPBOX;
  const LONG edgeX = button ? 2 * ::GetSystemMetrics(SM_CXEDGE) : 0;
  const LONG edgeY = button ? 2 * ::GetSystemMetrics(SM_CYEDGE) : 0;
  EXPECT_LE(measured.caption.cx, measured.client.cx - edgeX) << "the caption is wider than its control";
  EXPECT_LE(measured.caption.cy, measured.client.cy - edgeY) << "the caption is taller than its control";
}

class Layout : public testing::TestWithParam<WindowRow> {
 protected:
  void SetUp() override {
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    ASSERT_EQ(dpi, Dpi()) << "the display does not run at the resolution this run is for";
    fixture::LayOutInstallation();
  }
  void TearDown() override { fixture::RemoveInstallation(); }
};

TEST_P(Layout, KeepsItsProportionsWithItsCaptionsWhole) {
  const WindowRow& row = GetParam();
  Session session;
  HWND window = row.open(session);
  ASSERT_NE(window, nullptr);
  const std::vector<Control> controls = e2e::ReadControls(window);
  const std::vector<ControlFont> fonts = session.program->ReadFonts(window);
  ASSERT_EQ(fonts.size(), controls.size()) << "the font probe did not answer";
  ASSERT_FALSE(controls.empty());
  const SIZE client = e2e::ClientSize(window);
  if (row.controls != nullptr) {
    ExpectWithinAPixel(client.cx, Px(row.clientWidth), "client width");
    ExpectWithinAPixel(client.cy, Px(row.clientHeight), "client height");
    ASSERT_EQ(controls.size(), row.controlCount);
  }
  // Every control lies inside the window, and every fixed caption shows whole.
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const Control& control = controls[i];  // creation order is tab order
    SCOPED_TRACE(control.text);
    EXPECT_TRUE(control.rect.left >= 0 && control.rect.top >= 0 && control.rect.right <= client.cx &&
                control.rect.bottom <= client.cy)
        << "outside the window's " << client.cx << " x " << client.cy;
    const Expected* expected = row.controls != nullptr ? &row.controls[i] : nullptr;
    if (expected != nullptr) ExpectAsInTable(control, fonts[i], *expected);
    if (expected == nullptr || expected->kind != Kind::Data) ExpectCaptionWhole(control, fonts[i]);
  }
  e2e::SaveScreenshot(window,
                      "C:\\qvn-e2e\\shots\\" + std::string(row.name) + "-" + std::to_string(Dpi()) + "dpi.bmp");
}

std::string RowName(const testing::TestParamInfo<WindowRow>& row) { return row.param.name; }

INSTANTIATE_TEST_SUITE_P(, Layout, testing::ValuesIn(kWindows), RowName);

TEST(LabelsPerWindowsVersion, ShowTheRunningWindows) {
  const std::pair<const char*, const char*> labels[] = {
      {"win95", "Windows 95"}, {"win98", "Windows 98"}, {"winme", "Windows ME"},
      {"nt40", "Windows NT"},  {"win2k", "Windows 2000 or XP"}, {"winxp", "Windows 2000 or XP"},
      {"vista", "Windows Vista"}, {"win7", "Windows 7"}, {"win8", "Windows 8"}, {"win81", "Windows 8.1"},
      {"win10", "Windows 10"},
  };
  fixture::LayOutInstallation();
  e2e::RunningProgram program;
  HWND main = program.WaitForWindow("Remove Quorvane");
  ASSERT_NE(main, nullptr);
  const std::vector<Control> controls = e2e::ReadControls(main);
  bool expected = false;
  for (const auto& [version, label] : labels) {
    if (fixture::WindowsVersion() == version) {
      expected = true;
      EXPECT_NE(e2e::FindControl(controls, label), nullptr) << label;
    }
  }
  EXPECT_TRUE(expected) << "no label expected for " << fixture::WindowsVersion();
  EXPECT_NE(e2e::FindControl(controls, "C:\\Program Files\\Quorvane"), nullptr);
  EXPECT_EQ(e2e::FindControl(controls, "Label3"), nullptr);
  EXPECT_EQ(e2e::FindControl(controls, "Label4"), nullptr);
  e2e::Click(main, "EXIT");
  EXPECT_TRUE(program.WaitForExit());
  fixture::RemoveInstallation();
}

}  // namespace
