#include <gtest/gtest.h>

#include "services/Failure.h"
#include "services/PlatformApi.h"
#include "services/SystemBinder.h"
#include "tests/fakes/SimulatedPlatform.h"

namespace {

TEST(BoundFunction, BindsAtTheFirstCallAndAgainAfterTheBinderChanges) {
  {
    SimulatedPlatform first;
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    EXPECT_EQ(qvn::api::GetVersionExA(&info), 1);
  }
  SimulatedPlatform second;
  second.WithholdEntryPoint("GetVersionExA");
  OSVERSIONINFOA info{};
  EXPECT_THROW(qvn::api::GetVersionExA(&info), qvn::Failure);
}

TEST(BoundFunction, WithheldLibraryOrEntryPointRaisesANumberedFailure) {
  for (const char* withheld : {"USER32.DLL", "MessageBoxA"}) {
    SCOPED_TRACE(withheld);
    SimulatedPlatform platform;
    if (std::string(withheld) == "USER32.DLL") {
      platform.WithholdLibrary(withheld);
    } else {
      platform.WithholdEntryPoint(withheld);
    }
    try {
      qvn::api::MessageBoxA(nullptr, "text", "title", 0);
      FAIL() << "expected a Failure";
    } catch (const qvn::Failure& failure) {
      EXPECT_EQ(failure.Number(), 453);
      EXPECT_EQ(failure.Description(), L"Can't find DLL entry point MessageBoxA in user32.dll");
    }
    EXPECT_TRUE(platform.messageBoxes.empty());
  }
}

TEST(SystemBinder, OffWindowsNothingBindsAndNoObjectIsMade) {
  qvn::Binder& system = qvn::SystemBinder();
  EXPECT_EQ(system.Bind("kernel32.dll", "GetVersionExA"), nullptr);
  EXPECT_THROW(system.CreateObject(L"Scripting.FileSystemObject"), qvn::Failure);
}

}  // namespace
