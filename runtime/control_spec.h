#pragma once

#include <cstddef>
#include <limits>
#include <span>
#include <string_view>

#include "runtime/colour.h"

namespace tolvane::runtime {

// A window described as data: the runtime creates every control from this before the
// window's Load event, in table order, and the logic never creates, moves or hides one.

enum class ControlKind { Timer, CheckBox, Frame, TextBox, ComboBox, Label };
enum class TextAlign { Left, Right, Centre };

inline constexpr std::size_t kOnForm = std::numeric_limits<std::size_t>::max();
inline constexpr int kTwipsPerPixel = 15;  // at 96 dots per inch

// Outer rectangle in twips, relative to the container's top-left corner (the client area
// for the form's own controls, the frame's outer corner for a frame's).
struct TwipRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

struct ControlSpec {
  std::string_view name;
  int index = 0;  // position in a control array; 0 for a single control
  ControlKind kind = ControlKind::Label;
  std::size_t container = kOnForm;  // slot of the containing frame
  std::string_view caption;
  std::string_view accessibleName;  // what a screen reader says; the caption when empty
  TwipRect bounds;
  int tabIndex = -1;
  int value = 0;       // check box: initial Value (0 or 1)
  int intervalMs = 0;  // timer
  TextAlign align = TextAlign::Left;
  Colour foreColor = kBlack;
  Colour backColor = kBlack;
  bool bold = false;
};

struct FormSpec {
  std::string_view name;
  std::string_view title;
  int clientWidth = 0;  // twips
  int clientHeight = 0;
  Colour backColor = kBlack;
  std::string_view fontName;
  double fontPoints = 0;
  std::span<const char* const> iconXpm;  // the window icon as XPM rows
  std::span<const ControlSpec> controls;
};

// Siblings created earlier lie above siblings created later.

}  // namespace tolvane::runtime
