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
  const wchar_t* label;
  bool ntPaths;
};

const Case kCases[] = {
    {"XP", 2, 5, 1, L"Windows 2000 or XP", true},
    {"2000", 2, 5, 0, L"Windows 2000 or XP", true},
    {"Server 2003 and later NT", 2, 6, 0, L"Windows 2000 or XP", true},
    {"NT 4", 2, 4, 0, L"Windows NT", true},
    {"NT 3.51", 2, 3, 51, L"Windows NT", true},
    {"NT with a negative major", 2, -1, 0, L"Windows NT", true},
    {"95", 1, 4, 0, L"Windows 95", false},
    {"98", 1, 4, 10, L"Windows 98", false},
    {"98 with a minor just below ME", 1, 4, 89, L"Windows 98", false},
    {"ME as it reports itself", 1, 4, 90, L"Windows ME", false},
    {"a 9x minor past ME", 1, 4, 95, L"Windows ME", false},
    {"9x major 5", 1, 5, 0, L"Windows ME", false},
    {"negative minor is no 98", 1, 4, -1, L"Windows 95", false},
    {"largest minor, signed", 1, 4, INT_MAX, L"Windows ME", false},
    {"minor past INT_MAX reads negative", 1, 4, INT_MIN, L"Windows 95", false},
    {"9x major 3", 1, 3, 5, L"Windows 95", false},
    {"Win32s platform 0", 0, 3, 0, L"Windows 95", false},
    {"untouched record", 0, 0, 0, L"Windows 95", false},
    {"unknown platform 3 is not NT", 3, 5, 0, L"Windows ME", false},
    {"negative major on 9x", 1, -5, 10, L"Windows 95", false},
};

TEST(ClassifyPlatform, EveryRowOfTheTable) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.machine);
    const qvn::PlatformLayout layout = qvn::ClassifyPlatform(c.platformId, c.major, c.minor);
    EXPECT_EQ(layout.osLabel, c.label);
    EXPECT_EQ(layout.desktopShortcut, c.ntPaths ? kNtShortcut : k9xShortcut);
    EXPECT_EQ(layout.programGroup, c.ntPaths ? kNtGroup : k9xGroup);
  }
}

}  // namespace
