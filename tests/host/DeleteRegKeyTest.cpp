#include <gtest/gtest.h>

#include "services/DeleteRegKey.h"
#include "tests/fakes/SimulatedPlatform.h"

namespace {

const std::string kSettings = "SOFTWARE\\TindlewaySystems\\Quorvane";
const std::wstring kSettingsW = L"SOFTWARE\\TindlewaySystems\\Quorvane";

TEST(DeleteRegKey, DeletesANamedSubkey) {
  SimulatedPlatform platform;
  platform.registry.CreateKey(kSettings + "\\printOptions");
  qvn::DeleteRegKey(kSettingsW, L"printOptions");
  EXPECT_FALSE(platform.registry.KeyExists(kSettings + "\\printOptions"));
  EXPECT_TRUE(platform.registry.KeyExists(kSettings));
  EXPECT_TRUE(platform.messageBoxes.empty());
  EXPECT_EQ(platform.registry.OpenHandles(), 0u);
}

TEST(DeleteRegKey, EmptyNameDeletesTheKeyItselfOnceItHasNoSubkeys) {
  SimulatedPlatform platform;
  platform.registry.CreateKey(kSettings);
  qvn::DeleteRegKey(kSettingsW, L"");
  EXPECT_FALSE(platform.registry.KeyExists(kSettings));
  EXPECT_TRUE(platform.registry.KeyExists("SOFTWARE\\TindlewaySystems"));
}

TEST(DeleteRegKey, KeyWithSubkeysStaysOnNtAndGoesWholeOn9x) {
  struct Case {
    const char* family;
    DWORD platformId;
    bool remains;
  };
  for (const Case& c : {Case{"NT", 2, true}, Case{"9x", 1, false}}) {
    SCOPED_TRACE(c.family);
    SimulatedPlatform platform;
    platform.RunAs(c.platformId, 4, 0);
    platform.registry.CreateKey(kSettings + "\\unnamedByTheTool");
    const qvn::KeyDeletion deletion = qvn::DeleteRegKey(kSettingsW, L"");
    EXPECT_EQ(deletion.result, c.remains ? qvn::KeyDeletion::Result::SubkeysLeft : qvn::KeyDeletion::Result::Deleted);
    EXPECT_EQ(platform.registry.KeyExists(kSettings), c.remains);
    EXPECT_TRUE(platform.messageBoxes.empty());
    EXPECT_EQ(platform.registry.OpenHandles(), 0u);
  }
}

TEST(DeleteRegKey, MissingKeyOrRefusedOpenIsSilent) {
  SimulatedPlatform platform;
  qvn::DeleteRegKey(kSettingsW, L"StartUp");
  qvn::DeleteRegKey(L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorvane", L"");
  platform.registry.CreateKey(kSettings + "\\StartUp");
  platform.registry.DenyAccess(kSettings);
  qvn::DeleteRegKey(kSettingsW, L"StartUp");
  EXPECT_TRUE(platform.registry.KeyExists(kSettings + "\\StartUp"));
  EXPECT_TRUE(platform.messageBoxes.empty());
  EXPECT_EQ(platform.registry.OpenHandles(), 0u);
}

TEST(DeleteRegKey, AccessDeniedIsToldApartFromSubkeysLeft) {
  using Result = qvn::KeyDeletion::Result;
  struct Case {
    const char* what;
    void (*arrange)(SimulatedRegistry&);
    Result result;
    std::int32_t number;
    std::wstring description;
  };
  const Case cases[] = {
      {"deleted", [](SimulatedRegistry&) {}, Result::Deleted, 0, L""},
      {"a subkey below it", [](SimulatedRegistry& r) { r.CreateKey(kSettings + "\\StartUp\\Recent"); },
       Result::SubkeysLeft, 0, L""},
      {"its parent opens for reading only", [](SimulatedRegistry& r) { r.AllowReadOnly(kSettings); },
       Result::Refused, ERROR_ACCESS_DENIED, L"access denied"},
      {"no right to delete it", [](SimulatedRegistry& r) { r.AllowReadOnly(kSettings + "\\StartUp"); },
       Result::Refused, ERROR_ACCESS_DENIED, L"access denied"},
      {"no right to delete it nor to see below it",
       [](SimulatedRegistry& r) {
         r.CreateKey(kSettings + "\\StartUp\\Recent");
         r.DenyAccess(kSettings + "\\StartUp");
       },
       Result::Refused, ERROR_ACCESS_DENIED, L"access denied"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SimulatedPlatform platform;
    platform.registry.CreateKey(kSettings + "\\StartUp");
    c.arrange(platform.registry);
    const qvn::KeyDeletion deletion = qvn::DeleteRegKey(kSettingsW, L"StartUp");
    EXPECT_EQ(deletion.result, c.result);
    EXPECT_EQ(deletion.failureNumber, c.number);
    EXPECT_EQ(deletion.failureDescription, c.description);
    EXPECT_EQ(platform.registry.KeyExists(kSettings + "\\StartUp"), c.result != Result::Deleted);
    EXPECT_TRUE(platform.messageBoxes.empty()) << "registry refusals are silent";
    EXPECT_EQ(platform.registry.OpenHandles(), 0u);
  }
}

TEST(DeleteRegKey, UnboundRegistryIsReportedInAnErrorBoxAndTheCallerGoesOn) {
  for (const char* withheld : {"RegOpenKeyExA", "RegDeleteKeyA", "RegCloseKey", "advapi32.dll"}) {
    SCOPED_TRACE(withheld);
    SimulatedPlatform platform;
    platform.registry.CreateKey(kSettings + "\\StartUp");
    if (std::string(withheld).find(".dll") != std::string::npos) {
      platform.WithholdLibrary(withheld);
    } else {
      platform.WithholdEntryPoint(withheld);
    }
    EXPECT_NO_THROW(qvn::DeleteRegKey(kSettingsW, L"StartUp"));
    ASSERT_EQ(platform.messageBoxes.size(), 1u);
    const auto& box = platform.messageBoxes[0];
    EXPECT_EQ(box.text, L"Error in Registry Key delete.  Key SOFTWARE\\TindlewaySystems\\Quorvane");
    EXPECT_EQ(box.title, L"removeQvn");
    EXPECT_EQ(box.style & 0xF0u, MB_ICONERROR);  // the critical-stop icon
    EXPECT_EQ(box.style & 0x0Fu, MB_OK);
    EXPECT_EQ(box.style & MB_TASKMODAL, MB_TASKMODAL);
    EXPECT_EQ(box.owner, nullptr);
  }
}

TEST(DeleteRegKey, HandleIsClosedWhenTheDeleteCannotBeBound) {
  SimulatedPlatform platform;
  platform.registry.CreateKey(kSettings + "\\StartUp");
  platform.WithholdEntryPoint("RegDeleteKeyA");
  qvn::DeleteRegKey(kSettingsW, L"StartUp");
  EXPECT_EQ(platform.registry.OpenHandles(), 0u);
  EXPECT_TRUE(platform.registry.KeyExists(kSettings + "\\StartUp"));
}

}  // namespace
