#pragma once
#include <cstddef>

namespace qvn {

enum class ControlKind { Frame, Label, Button };
enum class Alignment { Left, Centre };

// A font named by a control; controls without one use the window font.
struct FontSpec {
  const char* face;
  double points;
  int weight;
};

// One control, in twips from the client area's top-left corner.
struct ControlSpec {
  int id;
  ControlKind kind;
  const wchar_t* caption;
  int left, top, width, height;
  const FontSpec* font;
  Alignment alignment;
};

// A window's caption, client size in twips, and its controls in tab order.
struct FormSpec {
  const wchar_t* caption;
  int clientWidth;
  int clientHeight;
  const ControlSpec* controls;
  std::size_t controlCount;
};

// The window font where it exists; the system's GUI font stands in elsewhere.
inline constexpr FontSpec kWindowFont{"MS Sans Serif", 8.25, 400};
inline constexpr FontSpec kTitleFont{"Arial Black", 14.25, 400};

}  // namespace qvn
