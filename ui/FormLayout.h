#pragma once
#include <cstddef>

namespace qvn {

// A DefaultButton is what Enter presses; a window has at most one.
enum class ControlKind { Frame, Label, Button, DefaultButton };
enum class Alignment { Left, Centre };

// A font named by a control; controls without one use the window font.
struct FontStyle {
  const char* face;
  double points;
  int weight;
};

// One control, in twips from the client area's top-left corner.
struct ControlLayout {
  int id;
  ControlKind kind;
  const wchar_t* caption;
  int left, top, width, height;
  const FontStyle* font;
  Alignment alignment;
};

// A window's caption, client size in twips, and its controls in tab order.
struct WindowLayout {
  const wchar_t* caption;
  int clientWidth;
  int clientHeight;
  const ControlLayout* controls;
  std::size_t controlCount;
};

// The window font where it exists; the system's GUI font stands in elsewhere.
inline constexpr FontStyle kWindowFont{"MS Sans Serif", 8.25, 400};
inline constexpr FontStyle kTitleFont{"Arial Black", 14.25, 400};

// Both windows open with the same framed title: Frame1 and, inside it, Label1,
// whose position is the frame's plus its own.
enum : int { kFrame1Id = 10, kLabel1Id = 11 };
inline constexpr int kFrameLeft = 240;
inline constexpr int kFrameTop = 120;
inline constexpr ControlLayout kTitleFrame{kFrame1Id, ControlKind::Frame, L"", kFrameLeft, kFrameTop, 6135, 1095,
                                           nullptr, Alignment::Left};
inline constexpr ControlLayout kTitle{kLabel1Id, ControlKind::Label, L"Quorvane Program Removal", kFrameLeft + 240,
                                      kFrameTop + 360, 5655, 495, &kTitleFont, Alignment::Centre};

}  // namespace qvn
