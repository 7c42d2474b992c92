#pragma once
#include "services/PlatformTypes.h"
#include "ui/FormLayout.h"

namespace qvn {

// A GDI font owned by a window; the system's stock font is borrowed, not owned.
class Font {
 public:
  // `style` at the display's vertical resolution, ANSI character set, upright,
  // plain. With `fallBack`, a face the system lacks gives the GUI stock font.
  Font(const FontStyle& style, int pixelsPerInchY, bool fallBack);
  ~Font();
  Font(Font&& other) noexcept : handle_(other.handle_), owned_(other.owned_) { other.owned_ = false; }
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;
  Font& operator=(Font&&) = delete;

  HFONT Get() const { return handle_; }

 private:
  HFONT handle_ = nullptr;
  bool owned_ = false;
};

}  // namespace qvn
