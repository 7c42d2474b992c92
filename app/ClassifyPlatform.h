#pragma once
#include <cstdint>
#include <string>

namespace qvn {

struct PlatformLayout {
  std::wstring osLabel;
  std::wstring desktopShortcut;
  std::wstring programGroup;
};

// Names the Windows family and picks where its all-users desktop shortcut and
// Start-menu program group lie. Versions compare as signed numbers. The build
// number counts on the NT family only, where it is the whole field (95/98/ME
// keep the version in its high word); it tells Windows 11 from 10.
PlatformLayout ClassifyPlatform(std::uint32_t platformId, std::int32_t majorVersion, std::int32_t minorVersion,
                                std::uint32_t buildNumber);

}  // namespace qvn
