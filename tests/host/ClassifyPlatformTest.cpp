#include <gtest/gtest.h>

#include <climits>

#include "app/ClassifyPlatform.h"

namespace {

const std::wstring kNtShortcut = L"C:\\Documents and Settings\\All Users\\Desktop\\Quorvane.lnk";
const std::wstring kNtGroup = L"C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Quorvane";
const std::wstring k9xShortcut = L"C:\\Windows\\Desktop\\Quorvane.lnk";
const std::wstring k9xGroup = L"C:\\Windows\\Start Menu\\Programs\\Quorvane";

struct Case {
  const char* machine;
  std::uint32_t platformId;
  std::int32_t major;
  std::int32_t minor;
  std::uint32_t build;
  const wchar_t* label;
  bool ntPaths;
};

const Case kCases[] = {
    {"XP", 2, 5, 1, 0, L"Windows 2000 or XP", true},
    {"2000", 2, 5, 0, 0, L"Windows 2000 or XP", true},
    {"Server 2003 and XP x64", 2, 5, 2, 3790, L"Windows 2000 or XP", true},
    {"Vista", 2, 6, 0, 6002, L"Windows Vista", true},
    {"NT 6 with a negative minor", 2, 6, -1, 0, L"Windows Vista", true},
    {"7", 2, 6, 1, 7601, L"Windows 7", true},
    {"8", 2, 6, 2, 9200, L"Windows 8", true},
    {"8.1", 2, 6, 3, 9600, L"Windows 8.1", true},
    {"a preview of 10", 2, 6, 4, 9841, L"Windows 10", true},
    {"an NT 7 never released", 2, 7, 0, 0, L"Windows 10", true},
    {"10", 2, 10, 0, 19045, L"Windows 10", true},
    {"10, the last build before 11", 2, 10, 0, 21999, L"Windows 10", true},
    {"11", 2, 10, 0, 22000, L"Windows 11", true},
    {"11 24H2", 2, 10, 0, 26100, L"Windows 11", true},
    {"the whole build counts, not its low 16 bits", 2, 10, 0, 0x10000 + 19045, L"Windows 11", true},
    {"a minor after 10.0", 2, 10, 1, 0, L"Windows 11", true},
    {"a major after 10", 2, 11, 0, 0, L"Windows 11", true},
    {"largest major, signed", 2, INT_MAX, 0, 0, L"Windows 11", true},
    {"a 9x build never counts", 1, 4, 10, 0x040A0000 + 22222, L"Windows 98", false},
    {"NT 4", 2, 4, 0, 0, L"Windows NT", true},
    {"NT 3.51", 2, 3, 51, 0, L"Windows NT", true},
    {"NT with a negative major", 2, -1, 0, 0, L"Windows NT", true},
    {"95", 1, 4, 0, 0, L"Windows 95", false},
    {"98", 1, 4, 10, 0, L"Windows 98", false},
    {"98 with a minor just below ME", 1, 4, 89, 0, L"Windows 98", false},
    {"ME as it reports itself", 1, 4, 90, 0, L"Windows ME", false},
    {"a 9x minor past ME", 1, 4, 95, 0, L"Windows ME", false},
    {"9x major 5", 1, 5, 0, 0, L"Windows ME", false},
    {"negative minor is no 98", 1, 4, -1, 0, L"Windows 95", false},
    {"largest minor, signed", 1, 4, INT_MAX, 0, L"Windows ME", false},
    {"minor past INT_MAX reads negative", 1, 4, INT_MIN, 0, L"Windows 95", false},
    {"9x major 3", 1, 3, 5, 0, L"Windows 95", false},
    {"Win32s platform 0", 0, 3, 0, 0, L"Windows 95", false},
    {"untouched record", 0, 0, 0, 0, L"Windows 95", false},
    {"unknown platform 3 is not NT", 3, 5, 0, 0, L"Windows ME", false},
    {"negative major on 9x", 1, -5, 10, 0, L"Windows 95", false},
};

TEST(ClassifyPlatform, EveryRowOfTheTable) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.machine);
    const qvn::PlatformLayout layout = qvn::ClassifyPlatform(c.platformId, c.major, c.minor, c.build);
    EXPECT_EQ(layout.osLabel, c.label);
    EXPECT_EQ(layout.desktopShortcut, c.ntPaths ? kNtShortcut : k9xShortcut);
    EXPECT_EQ(layout.programGroup, c.ntPaths ? kNtGroup : k9xGroup);
  }
}

}  // namespace
