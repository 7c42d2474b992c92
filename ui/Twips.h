#pragma once

namespace qvn {

// Window and control positions are given in twips, 1440 to the inch; the
// display's resolution in pixels per inch turns them into pixels, rounded to
// the nearest pixel.
constexpr int TwipsToPixels(int twips, int pixelsPerInch) {
  return (twips * pixelsPerInch + 720) / 1440;
}

// A font size in points as the (negative, character-height) LOGFONT height at
// the display's vertical resolution, rounded to the nearest pixel.
constexpr int FontHeightForPoints(double points, int pixelsPerInch) {
  return -static_cast<int>(points * pixelsPerInch / 72.0 + 0.5);
}

}  // namespace qvn
