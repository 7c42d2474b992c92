#include "ui/Font.h"

#include <cstring>

#include "ui/Twips.h"

namespace qvn {
namespace {

int CALLBACK NoteFace(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool SystemHasFace(const char* face) {
  bool found = false;
  HDC screen = ::GetDC(nullptr);
  ::EnumFontFamiliesA(screen, face, NoteFace, reinterpret_cast<LPARAM>(&found));
  ::ReleaseDC(nullptr, screen);
  return found;
}

}  // namespace

Font::Font(const FontStyle& style, int pixelsPerInchY, bool fallBack) {
  if (fallBack && !SystemHasFace(style.face)) {
    stock_ = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    return;
  }
  LOGFONTA font{};
  font.lfHeight = FontHeightForPoints(style.points, pixelsPerInchY);
  font.lfWeight = style.weight;
  font.lfCharSet = ANSI_CHARSET;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  std::strncpy(font.lfFaceName, style.face, LF_FACESIZE - 1);
  owned_.Reset(::CreateFontIndirectA(&font));
}

}  // namespace qvn
