#include <gtest/gtest.h>

#include "tests/e2e/ProgramDriver.h"
#include "tests/wine/Installation.h"
#include "tests/wine/RegistryFixture.h"

namespace {

using e2e::Control;

struct Expected {
  int id;  // the control's id in the program, to find its font
  const char* className;
  const char* text;
  int left, top, width, height;  // twips, client coordinates
  const char* face;              // null: the window font
  LONG height96;                 // LOGFONT height at 96 dpi
  LONG weight;
  bool centred;
};

// At 96 dpi a pixel is 15 twips.
LONG Px(int twips) { return (twips * 96 + 720) / 1440; }

const Expected kMain[] = {
    {10, "Button", "", 240, 120, 6135, 1095, nullptr, -11, 400, false},
    {11, "Static", "Quorvane Program Removal", 480, 480, 5655, 495, "Arial Black", -19, 400, true},
    {12, "Static",
     "Click the button below to completely remove all aspects of the Quorvane program.  If you do not want to remove, "
     "click the EXIT button to exit the program.",
     480, 1440, 5535, 855, nullptr, -11, 400, false},
    {100, "Button", "Start Removal Process", 840, 3360, 2415, 495, nullptr, -11, 400, false},
    {101, "Button", "EXIT", 3720, 3360, 2415, 495, nullptr, -11, 400, false},
    {13, "Static", "C:\\Program Files\\Quorvane", 1920, 2640, 4695, 255, "MS Sans Serif", -11, 700, false},
    {15, "Static", "OS is:", 480, 2280, 735, 375, nullptr, -11, 400, false},
    {14, "Static", "Windows 2000 or XP", 1920, 2280, 4095, 255, "MS Sans Serif", -11, 700, false},
    {16, "Static", "Program Location:", 480, 2640, 1455, 375, nullptr, -11, 400, false},
};

const Expected kCompletion[] = {
    {10, "Button", "", 240, 120, 6135, 1095, nullptr, -11, 400, false},
    {11, "Static", "Quorvane Program Removal", 480, 480, 5655, 495, "Arial Black", -19, 400, true},
    {12, "Static", "Program removal completed.  The system must now be restarted", 1680, 1680, 2895, 615, nullptr,
     -11, 400, true},
    {13, "Static", "Press the button below to restart", 960, 2520, 4575, 495, "MS Sans Serif", -16, 700, true},
    {300, "Button", "Press to restart the Computer", 1920, 3240, 3015, 495, nullptr, -11, 400, false},
};

void ExpectWithinAPixel(LONG actual, LONG expected, const char* what) {
  EXPECT_LE(std::abs(actual - expected), 1) << what << ": " << actual << " against " << expected;
}

template <std::size_t N>
void ExpectLayout(HWND window, const e2e::RunningProgram& program, const Expected (&table)[N]) {
  const std::vector<Control> controls = e2e::ReadControls(window);
  ASSERT_EQ(controls.size(), N);
  const std::vector<e2e::ControlFont> fonts = program.ReadFonts(window);
  ASSERT_EQ(fonts.size(), N) << "the font probe did not answer";
  for (std::size_t i = 0; i < N; ++i) {
    const Expected& expected = table[i];
    SCOPED_TRACE(expected.text);
    const Control& control = controls[i];  // creation order is tab order
    EXPECT_EQ(control.id, expected.id);
    EXPECT_EQ(control.className, expected.className);
    EXPECT_EQ(control.text, expected.text);
    ExpectWithinAPixel(control.rect.left, Px(expected.left), "left");
    ExpectWithinAPixel(control.rect.top, Px(expected.top), "top");
    ExpectWithinAPixel(control.rect.right - control.rect.left, Px(expected.width), "width");
    ExpectWithinAPixel(control.rect.bottom - control.rect.top, Px(expected.height), "height");
    if (control.className == "Static") {
      EXPECT_EQ(control.style & SS_TYPEMASK, expected.centred ? SS_CENTER : SS_LEFT);
      EXPECT_TRUE(control.style & SS_NOPREFIX);
    } else if (control.id != 10) {
      EXPECT_EQ(control.style & BS_TYPEMASK, BS_PUSHBUTTON);  // never a default button
      EXPECT_TRUE(control.style & WS_TABSTOP);
    }
    const e2e::ControlFont& font = fonts[i];
    ASSERT_TRUE(font.read);
    EXPECT_EQ(font.id, expected.id);
    if (expected.face != nullptr) {
      EXPECT_STREQ(font.font.lfFaceName, expected.face);
      EXPECT_EQ(font.font.lfHeight, expected.height96);
      EXPECT_EQ(font.font.lfWeight, expected.weight);
      EXPECT_EQ(font.font.lfCharSet, ANSI_CHARSET);
    } else if (std::string(font.font.lfFaceName) == "MS Sans Serif") {
      EXPECT_EQ(font.font.lfHeight, -11);
      EXPECT_EQ(font.font.lfWeight, 400);
    }
    EXPECT_FALSE(font.font.lfItalic || font.font.lfUnderline || font.font.lfStrikeOut);
  }
}

class Layout : public testing::Test {
 protected:
  void SetUp() override { fixture::LayOutInstallation(); }
  void TearDown() override { fixture::RemoveInstallation(); }
};

TEST_F(Layout, MainWindowMatchesItsTable) {
  e2e::RunningProgram program;
  HWND main = program.WaitForWindow("Remove Quorvane");
  ASSERT_NE(main, nullptr);
  const SIZE client = e2e::ClientSize(main);
  ExpectWithinAPixel(client.cx, Px(6780), "client width");
  ExpectWithinAPixel(client.cy, Px(4290), "client height");
  RECT frame{};
  ::GetWindowRect(main, &frame);
  ExpectWithinAPixel((frame.left + frame.right) / 2, ::GetSystemMetrics(SM_CXSCREEN) / 2, "centre across");
  ExpectWithinAPixel((frame.top + frame.bottom) / 2, ::GetSystemMetrics(SM_CYSCREEN) / 2, "centre down");
  ExpectLayout(main, program, kMain);
  e2e::SaveScreenshot(main, "C:\\qvn-e2e\\shots\\main-window.bmp");
  e2e::Click(main, "EXIT");
  EXPECT_TRUE(program.WaitForExit());
}

TEST_F(Layout, CompletionWindowMatchesItsTable) {
  e2e::RunningProgram program;
  HWND main = program.WaitForWindow("Remove Quorvane");
  ASSERT_NE(main, nullptr);
  e2e::Click(main, "Start Removal Process");
  HWND done = program.WaitForWindow("Completed");
  ASSERT_NE(done, nullptr);
  const SIZE client = e2e::ClientSize(done);
  ExpectWithinAPixel(client.cx, Px(6705), "client width");
  ExpectWithinAPixel(client.cy, Px(4320), "client height");
  EXPECT_EQ(::GetWindow(done, GW_OWNER), nullptr);
  ExpectLayout(done, program, kCompletion);
  e2e::SaveScreenshot(done, "C:\\qvn-e2e\\shots\\completion-window.bmp");
}

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
