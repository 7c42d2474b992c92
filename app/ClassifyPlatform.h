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
// Start-menu program group lie. Versions compare as signed numbers.
PlatformLayout ClassifyPlatform(std::uint32_t platformId, std::int32_t majorVersion, std::int32_t minorVersion);

}  // namespace qvn
