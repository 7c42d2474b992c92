#include <gtest/gtest.h>

#include "services/DeleteRegKey.h"
#include "tests/wine/RegistryFixture.h"

namespace {

const char kVendor[] = "SOFTWARE\\TindlewaySystems";
const char kSettings[] = "SOFTWARE\\TindlewaySystems\\Quorvane";
const wchar_t kSettingsW[] = L"SOFTWARE\\TindlewaySystems\\Quorvane";

class DeleteRegKeyUnderWine : public testing::Test {
 protected:
  void SetUp() override { fixture::DeleteTree(kVendor); }
  void TearDown() override {
    fixture::DeleteTree(kVendor);
    EXPECT_TRUE(binder_.shown.empty()) << binder_.shown.front().text;
  }
  fixture::RecordingBinder binder_;
};

TEST_F(DeleteRegKeyUnderWine, DeletesANamedSubkey) {
  fixture::CreateKey(std::string(kSettings) + "\\printOptions");
  qvn::DeleteRegKey(kSettingsW, L"printOptions");
  EXPECT_FALSE(fixture::KeyExists(std::string(kSettings) + "\\printOptions"));
  EXPECT_TRUE(fixture::KeyExists(kSettings));
}

TEST_F(DeleteRegKeyUnderWine, IgnoresAMissingKey) {
  qvn::DeleteRegKey(kSettingsW, L"StartUp");
  qvn::DeleteRegKey(kSettingsW, L"");
  EXPECT_FALSE(fixture::KeyExists(kSettings));
}

TEST_F(DeleteRegKeyUnderWine, EmptyNameDeletesTheKeyItself) {
  fixture::CreateKey(kSettings);
  qvn::DeleteRegKey(kSettingsW, L"");
  EXPECT_FALSE(fixture::KeyExists(kSettings));
  EXPECT_TRUE(fixture::KeyExists(kVendor));
}

TEST_F(DeleteRegKeyUnderWine, KeyWithSubkeysStaysOnNtAndGoesWholeOn9x) {
  fixture::CreateKey(std::string(kSettings) + "\\unnamedByTheTool");
  const qvn::KeyDeletion deletion = qvn::DeleteRegKey(kSettingsW, L"");
  EXPECT_EQ(fixture::KeyExists(kSettings), fixture::IsNtFamily()) << fixture::WindowsVersion();
  EXPECT_EQ(deletion.result, fixture::IsNtFamily() ? qvn::KeyDeletion::Result::SubkeysLeft
                                                   : qvn::KeyDeletion::Result::Deleted);
}

TEST(DeleteRegKeyUnderWineUnbound, ReportsTheKeyAndReturns) {
  fixture::DeleteTree(kVendor);
  fixture::CreateKey(std::string(kSettings) + "\\StartUp");
  fixture::RecordingBinder binder;
  binder.withheld.push_back("RegDeleteKeyA");
  qvn::DeleteRegKey(kSettingsW, L"StartUp");
  ASSERT_EQ(binder.shown.size(), 1u);
  EXPECT_EQ(binder.shown[0].text, "Error in Registry Key delete.  Key SOFTWARE\\TindlewaySystems\\Quorvane");
  EXPECT_EQ(binder.shown[0].title, "removeQvn");
  EXPECT_EQ(binder.shown[0].style & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
  EXPECT_TRUE(fixture::KeyExists(std::string(kSettings) + "\\StartUp"));
  fixture::DeleteTree(kVendor);
}

}  // namespace
