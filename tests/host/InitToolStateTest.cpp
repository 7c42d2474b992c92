#include <gtest/gtest.h>

#include "app/InitToolState.h"
#include "services/Failure.h"
#include "tests/fakes/SimulatedPlatform.h"

namespace {

const std::string kStartUp = "SOFTWARE\\TindlewaySystems\\Quorvane\\StartUp";

TEST(InitToolState, FillsTheStateAndReturnsTheTwoTexts) {
  SimulatedPlatform platform;
  platform.RunAs(2, 5, 1);
  platform.registry.SetString(kStartUp, "twEXE", "C:\\Program Files\\Quorvane\\");
  qvn::ToolState state;

  const qvn::StartupTexts texts = qvn::InitToolState(state);

  EXPECT_EQ(texts.osLabel, L"Windows 2000 or XP");
  EXPECT_EQ(texts.locationText, L"C:\\Program Files\\Quorvane");
  EXPECT_EQ(state.InstallLocation, L"C:\\Program Files\\Quorvane");
  EXPECT_EQ(state.ProductKey, L"SOFTWARE\\TindlewaySystems\\Quorvane");
  EXPECT_EQ(state.DesktopShortcut, L"C:\\Documents and Settings\\All Users\\Desktop\\Quorvane.lnk");
  EXPECT_EQ(state.ProgramGroup, L"C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Quorvane");
  EXPECT_EQ(state.VersionInfo.dwOSVersionInfoSize, 148u);
  EXPECT_EQ(state.VersionInfo.dwMinorVersion, 1u);
  EXPECT_EQ(state.FileSys, nullptr) << "the NT family removes without the scripting object";
  EXPECT_TRUE(platform.objectsCreated.empty());
  EXPECT_EQ(platform.registry.OpenHandles(), 0u);
}

TEST(InitToolState, LabelsAndPathsFollowTheRunningFamily) {
  struct Case {
    DWORD platformId, major, minor, build;
    const wchar_t* label;
    const wchar_t* shortcut;
  };
  const Case cases[] = {
      {1, 4, 0, 0x04000000 + 950, L"Windows 95", L"C:\\Windows\\Desktop\\Quorvane.lnk"},
      {1, 4, 10, 0x040A0000 + 2222, L"Windows 98", L"C:\\Windows\\Desktop\\Quorvane.lnk"},
      {1, 4, 90, 0x045A0000 + 3000, L"Windows ME", L"C:\\Windows\\Desktop\\Quorvane.lnk"},
      {2, 4, 0, 1381, L"Windows NT", L"C:\\Documents and Settings\\All Users\\Desktop\\Quorvane.lnk"},
      {2, 10, 0, 19045, L"Windows 10", L"C:\\Documents and Settings\\All Users\\Desktop\\Quorvane.lnk"},
      {2, 10, 0, 22631, L"Windows 11", L"C:\\Documents and Settings\\All Users\\Desktop\\Quorvane.lnk"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.platformId << "." << c.major << "." << c.minor << "." << c.build);
    SimulatedPlatform platform;
    platform.RunAs(c.platformId, c.major, c.minor);
    platform.version.dwBuildNumber = c.build;
    qvn::ToolState state;
    EXPECT_EQ(qvn::InitToolState(state).osLabel, c.label);
    EXPECT_EQ(state.DesktopShortcut, c.shortcut);
  }
}

TEST(InitToolState, RefusedVersionQueryClassifiesAsWindows95) {
  SimulatedPlatform platform;
  platform.RefuseVersionQuery();
  qvn::ToolState state;
  EXPECT_EQ(qvn::InitToolState(state).osLabel, L"Windows 95");
  EXPECT_EQ(state.ProgramGroup, L"C:\\Windows\\Start Menu\\Programs\\Quorvane");
}

TEST(InitToolState, LocationNotFoundIsShownAndStored) {
  struct Case {
    const char* what;
    void (*arrange)(SimulatedRegistry&);
    const wchar_t* location;
  };
  const Case cases[] = {
      {"no settings key", [](SimulatedRegistry&) {}, L"Quorvane Program location not found..."},
      {"expandable text", [](SimulatedRegistry& r) { r.SetValue(kStartUp, "twEXE", REG_EXPAND_SZ, {'C', 0}); },
       L"Quorvane Program location not found..."},
      {"empty text", [](SimulatedRegistry& r) { r.SetString(kStartUp, "twEXE", ""); },
       L"Quorvane Program location not found..."},
      {"number 7", [](SimulatedRegistry& r) { r.SetDword(kStartUp, "twEXE", 7); }, L"7"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SimulatedPlatform platform;
    c.arrange(platform.registry);
    qvn::ToolState state;
    EXPECT_EQ(qvn::InitToolState(state).locationText, c.location);
    EXPECT_EQ(state.InstallLocation, c.location);
    EXPECT_TRUE(platform.messageBoxes.empty());
  }
}

// 95/98/ME delete through the scripting object: without it their start-up
// stops at once, before the registry is read. The NT family never makes it,
// so a server with scrrun.dll unregistered still removes Quorvane.
TEST(InitToolState, ObjectThatCannotBeMadeStopsOnlyNineX) {
  for (const bool ntFamily : {false, true}) {
    SCOPED_TRACE(ntFamily ? "NT family" : "95/98/ME");
    SimulatedPlatform platform;
    platform.RunAs(ntFamily ? 2 : 1, 4, 10);
    platform.RefuseObjectCreation();
    platform.registry.SetString(kStartUp, "twEXE", "C:\\Program Files\\Quorvane\\");
    qvn::ToolState state;
    if (ntFamily) {
      EXPECT_EQ(qvn::InitToolState(state).locationText, L"C:\\Program Files\\Quorvane");
      EXPECT_TRUE(platform.objectsCreated.empty());
      continue;
    }
    try {
      qvn::InitToolState(state);
      FAIL() << "expected a Failure";
    } catch (const qvn::Failure& failure) {
      EXPECT_EQ(failure.Number(), 429);
    }
    EXPECT_TRUE(state.ProductKey.empty());
    EXPECT_EQ(platform.CallCount("RegOpenKeyExA"), 0);
  }
}

}  // namespace
