#pragma once
#include "services/PlatformTypes.h"
#include "services/UniqueHandle.h"
#include "ui/FormLayout.h"

namespace qvn {

struct DeleteFont {
  void operator()(HFONT font) const { ::DeleteObject(font); }
};

// A GDI font for a window's controls: one it made and owns, or the system's
// stock font, which is borrowed and never deleted.
class Font {
 public:
  // `style` at the display's vertical resolution, ANSI character set, upright,
  // plain. With `fallBack`, a face the system lacks gives the GUI stock font.
  Font(const FontStyle& style, int pixelsPerInchY, bool fallBack);

  HFONT Get() const { return owned_ ? owned_.Get() : stock_; }

 private:
  UniqueHandle<HFONT, DeleteFont> owned_;
  HFONT stock_ = nullptr;
};

}  // namespace qvn
