#include <gtest/gtest.h>

#include "app/InitToolState.h"
#include "tests/wine/RegistryFixture.h"

namespace {

const char kSettings[] = "SOFTWARE\\TindlewaySystems";

struct Expected {
  const char* version;
  const wchar_t* label;
  const wchar_t* shortcut;
  const wchar_t* group;
};

const wchar_t kNtShortcut[] = L"C:\\Documents and Settings\\All Users\\Desktop\\Quorvane.lnk";
const wchar_t kNtGroup[] = L"C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Quorvane";
const wchar_t k9xShortcut[] = L"C:\\Windows\\Desktop\\Quorvane.lnk";
const wchar_t k9xGroup[] = L"C:\\Windows\\Start Menu\\Programs\\Quorvane";

const Expected kVersions[] = {
    {"win95", L"Windows 95", k9xShortcut, k9xGroup},
    {"win98", L"Windows 98", k9xShortcut, k9xGroup},
    {"winme", L"Windows ME", k9xShortcut, k9xGroup},
    {"nt40", L"Windows NT", kNtShortcut, kNtGroup},
    {"win2k", L"Windows 2000 or XP", kNtShortcut, kNtGroup},
    {"winxp", L"Windows 2000 or XP", kNtShortcut, kNtGroup},
};

const Expected* ExpectedForThisRun() {
  for (const Expected& expected : kVersions) {
    if (fixture::WindowsVersion() == expected.version) return &expected;
  }
  return nullptr;
}

TEST(InitToolStateUnderWine, NamesTheRunningWindowsAndItsShellPaths) {
  const Expected* expected = ExpectedForThisRun();
  ASSERT_NE(expected, nullptr) << "QVN_WINDOWS_VERSION names no known version: " << fixture::WindowsVersion();
  fixture::DeleteTree(kSettings);
  fixture::SetString("SOFTWARE\\TindlewaySystems\\Quorvane\\StartUp", "twEXE", "C:\\Program Files\\Quorvane\\");

  qvn::ToolState state;
  const qvn::StartupTexts texts = qvn::InitToolState(state);

  EXPECT_EQ(texts.osLabel, expected->label);
  EXPECT_EQ(state.DesktopShortcut, expected->shortcut);
  EXPECT_EQ(state.ProgramGroup, expected->group);
  EXPECT_EQ(texts.locationText, L"C:\\Program Files\\Quorvane");
  // 95/98/ME delete through the scripting object, made at start-up: the real
  // one, which answers by name. The NT family removes by handles without it.
  ASSERT_EQ(state.FileSys != nullptr, !fixture::IsNtFamily());
  if (state.FileSys) {
    EXPECT_EQ(state.FileSys->Call(L"FolderExists", {std::wstring(L"C:\\windows")}), qvn::AutomationValue(true));
    EXPECT_EQ(state.FileSys->Call(L"FolderExists", {std::wstring(L"C:\\no such folder")}),
              qvn::AutomationValue(false));
  }
  state.FileSys.reset();
  fixture::DeleteTree(kSettings);
}

TEST(InitToolStateUnderWine, ShowsTheNotFoundTextWithoutASettingsKey) {
  fixture::DeleteTree(kSettings);
  fixture::RecordingBinder binder;
  qvn::ToolState state;
  EXPECT_EQ(qvn::InitToolState(state).locationText, L"Quorvane Program location not found...");
  EXPECT_TRUE(binder.shown.empty());
}

}  // namespace
