#include "app/ClassifyPlatform.h"

namespace qvn {
namespace {

constexpr std::uint32_t kPlatformNt = 2;

// Windows ME reports itself as 4.90; 98 as 4.10; 95 as 4.0.
constexpr std::int32_t kMinorWindowsMe = 90;

// Vista, 7, 8 and 8.1 are NT 6.0 to 6.3. The previews of Windows 10 reported
// 6.4; no NT 7 to 9 was ever released. Windows 11 still reports 10.0 and is
// told apart by its build, 22000 for its first release.
constexpr std::int32_t kMajorNt6 = 6;
const wchar_t* const kNt6Labels[] = {L"Windows Vista", L"Windows 7", L"Windows 8", L"Windows 8.1"};
constexpr std::int32_t kNt6Releases = 4;
constexpr std::int32_t kMajorWindows10 = 10;
constexpr std::uint32_t kFirstWindows11Build = 22000;

const wchar_t kNtShortcut[] = L"C:\\Documents and Settings\\All Users\\Desktop\\Quorvane.lnk";
const wchar_t kNtGroup[] = L"C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Quorvane";
const wchar_t k9xShortcut[] = L"C:\\Windows\\Desktop\\Quorvane.lnk";
const wchar_t k9xGroup[] = L"C:\\Windows\\Start Menu\\Programs\\Quorvane";

const wchar_t* NtLabel(std::int32_t major, std::int32_t minor, std::uint32_t build) {
  if (major < 5) return L"Windows NT";
  if (major == 5) return L"Windows 2000 or XP";
  if (major == kMajorNt6 && minor < kNt6Releases) return kNt6Labels[minor > 0 ? minor : 0];
  if (major < kMajorWindows10) return L"Windows 10";
  if (major == kMajorWindows10 && minor <= 0 && build < kFirstWindows11Build) return L"Windows 10";
  return L"Windows 11";
}

const wchar_t* NineXLabel(std::int32_t major, std::int32_t minor) {
  if (major >= 5) return L"Windows ME";
  if (major == 4 && minor >= kMinorWindowsMe) return L"Windows ME";
  if (major == 4 && minor > 0) return L"Windows 98";
  return L"Windows 95";
}

}  // namespace

PlatformLayout ClassifyPlatform(std::uint32_t platformId, std::int32_t majorVersion, std::int32_t minorVersion,
                                std::uint32_t buildNumber) {
  if (platformId == kPlatformNt) return {NtLabel(majorVersion, minorVersion, buildNumber), kNtShortcut, kNtGroup};
  return {NineXLabel(majorVersion, minorVersion), k9xShortcut, k9xGroup};
}

}  // namespace qvn
