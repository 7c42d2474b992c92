#include <gtest/gtest.h>

#include "services/Failure.h"
#include "services/SystemRestart.h"
#include "tests/fakes/SimulatedPlatform.h"

namespace {

const std::wstring kRestart = L"ExitWindowsEx 2 0";  // EWX_REBOOT alone, reserved 0

TEST(SystemRestart, NtEnablesTheShutdownPrivilegeFirst) {
  SimulatedPlatform platform;
  EXPECT_TRUE(qvn::RequestSystemRestart(/*ntFamily=*/true));
  const std::vector<std::wstring> expected = {L"OpenProcessToken 40", L"AdjustTokenPrivileges luid 19 attributes 2",
                                              kRestart};
  EXPECT_EQ(platform.calls, expected);
  EXPECT_EQ(platform.openTokens, 0);
}

TEST(SystemRestart, NineXAsksForTheRestartAlone) {
  SimulatedPlatform platform;
  platform.RunAs(1, 4, 10);
  EXPECT_TRUE(qvn::RequestSystemRestart(/*ntFamily=*/false));
  EXPECT_EQ(platform.calls, std::vector<std::wstring>{kRestart});
}

TEST(SystemRestart, RefusalIsReportedToTheCaller) {
  SimulatedPlatform platform;
  platform.restartRefused = true;
  EXPECT_FALSE(qvn::RequestSystemRestart(true));
}

TEST(SystemRestart, PrivilegeThatCannotBeEnabledStillAsksAndClosesTheToken) {
  struct Case {
    const char* what;
    void (*arrange)(SimulatedPlatform&);
  };
  const Case cases[] = {
      {"no token functions", [](SimulatedPlatform& p) { p.WithholdEntryPoint("OpenProcessToken"); }},
      {"token refused", [](SimulatedPlatform& p) { p.FailCall("OpenProcessToken", 1, 5); }},
      {"privilege unknown", [](SimulatedPlatform& p) { p.FailCall("LookupPrivilegeValueA", 1, 5); }},
      {"adjustment refused", [](SimulatedPlatform& p) { p.FailCall("AdjustTokenPrivileges", 1, 5); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SimulatedPlatform platform;
    c.arrange(platform);
    EXPECT_TRUE(qvn::RequestSystemRestart(true));
    EXPECT_EQ(platform.calls.back(), kRestart);
    EXPECT_EQ(platform.openTokens, 0);
  }
}

TEST(SystemRestart, TokenThatCannotBeClosedDoesNotStopTheRestart) {
  SimulatedPlatform platform;
  platform.WithholdEntryPoint("CloseHandle");  // the token's owner must swallow this, not throw
  EXPECT_TRUE(qvn::RequestSystemRestart(true));
  EXPECT_EQ(platform.calls.back(), kRestart);
}

TEST(SystemRestart, UnboundRestartRaises) {
  SimulatedPlatform platform;
  platform.WithholdEntryPoint("ExitWindowsEx");
  EXPECT_THROW(qvn::RequestSystemRestart(false), qvn::Failure);
}

}  // namespace
