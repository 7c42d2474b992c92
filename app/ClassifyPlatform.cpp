#include "app/ClassifyPlatform.h"

namespace qvn {
namespace {

constexpr std::uint32_t kPlatformNt = 2;

// Windows ME reports itself as 4.90; 98 as 4.10; 95 as 4.0.
constexpr std::int32_t kMinorWindowsMe = 90;

const wchar_t kNtShortcut[] = L"C:\\Documents and Settings\\All Users\\Desktop\\Quorvane.lnk";
const wchar_t kNtGroup[] = L"C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Quorvane";
const wchar_t k9xShortcut[] = L"C:\\Windows\\Desktop\\Quorvane.lnk";
const wchar_t k9xGroup[] = L"C:\\Windows\\Start Menu\\Programs\\Quorvane";

const wchar_t* NtLabel(std::int32_t major) { return major >= 5 ? L"Windows 2000 or XP" : L"Windows NT"; }

const wchar_t* NineXLabel(std::int32_t major, std::int32_t minor) {
  if (major >= 5) return L"Windows ME";
  if (major == 4 && minor >= kMinorWindowsMe) return L"Windows ME";
  if (major == 4 && minor > 0) return L"Windows 98";
  return L"Windows 95";
}

}  // namespace

PlatformLayout ClassifyPlatform(std::uint32_t platformId, std::int32_t majorVersion, std::int32_t minorVersion) {
  if (platformId == kPlatformNt) return {NtLabel(majorVersion), kNtShortcut, kNtGroup};
  return {NineXLabel(majorVersion, minorVersion), k9xShortcut, k9xGroup};
}

}  // namespace qvn
