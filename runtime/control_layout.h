#pragma once

#include <cstddef>
#include <limits>
#include <span>
#include <string_view>
#include <vector>

#include "runtime/color.h"

namespace tolvane::runtime {

// A window described as data: the runtime creates every control from this before the
// window's Load event, in table order, and the logic never creates, moves or hides one.

enum class ControlKind { Timer, CheckBox, Frame, TextBox, ComboBox, Label };
enum class TextAlign { Left, Right, Centre };

inline constexpr std::size_t kOnForm = std::numeric_limits<std::size_t>::max();
inline constexpr std::size_t kNoControl = std::numeric_limits<std::size_t>::max();
inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kTwipsPerPixel = 15;  // at 96 dots per inch

// Outer rectangle in twips, relative to the container's top-left corner (the client area
// for the form's own controls, the frame's outer corner for a frame's).
struct TwipRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

struct ControlLayout {
  std::string_view name;
  int index = 0;  // position in a control array; 0 for a single control
  ControlKind kind = ControlKind::Label;
  std::size_t container = kOnForm;  // slot of the containing frame
  std::string_view caption;
  std::string_view accessibleName;  // what a screen reader says; the caption when empty
  // For screen readers, as slots: the control a label names (its click switches that one);
  // the label whose text describes a frame; and the label whose text explains why a check
  // box's caption is not in its designed colour, its description while that lasts.
  std::size_t labelFor = kNoControl;
  std::size_t describedBy = kNoControl;
  std::size_t colourNote = kNoControl;
  TwipRect bounds;
  int tabIndex = -1;
  int value = 0;       // check box: initial Value (0 or 1)
  int intervalMs = 0;  // timer
  TextAlign align = TextAlign::Left;
  Color foreColor = kBlack;
  Color backColor = kBlack;
  bool bold = false;
};

struct FormLayout {
  std::string_view name;
  std::string_view title;
  int clientWidth = 0;  // twips
  int clientHeight = 0;
  Color backColor = kBlack;
  std::string_view fontName;
  double fontPoints = 0;
  std::span<const char* const> iconXpm;  // the window icon as XPM rows
  std::span<const ControlLayout> controls;
};

// What every runtime reads off a layout the same way.

// Lengths follow the screen's resolution to the nearest pixel, a half up.
constexpr int kDesignDotsPerInch = 96;
constexpr int Rescaled(int length, int to, int from) {
  return (length * to + from / 2) / from;
}

// Pixels for a length in twips at the given resolution.
constexpr int ToPixels(int twips, int dotsPerInch = kDesignDotsPerInch) {
  return Rescaled(twips, dotsPerInch, kTwipsPerInch);
}

// Pixels at the given resolution for a length drawn in pixels at 96 dpi.
constexpr int FromDesignPixels(int pixels, int dotsPerInch) {
  return Rescaled(pixels, dotsPerInch, kDesignDotsPerInch);
}

// Kinds that take the keyboard focus; frames and labels never do.
constexpr bool TakesFocus(ControlKind kind) {
  return kind == ControlKind::CheckBox || kind == ControlKind::TextBox ||
         kind == ControlKind::ComboBox;
}

// A control's rectangle in the client area, through any depth of frames.
TwipRect InClientArea(const FormLayout& layout, std::size_t slot);

// A check box's description for screen readers while its caption has the given colour: the
// note that explains the colour while it is not the designed one, nothing otherwise.
std::string_view CaptionColourNote(const FormLayout& layout, std::size_t slot, Color caption);
// The caption of the label that belongs to the control: for a check box, its character set.
std::string_view LabelCaption(const FormLayout& layout, std::size_t slot);

// The slots that take the focus, in the order Tab visits them (tab index; ties keep table
// order).
std::vector<std::size_t> TabOrder(const FormLayout& layout);

// Every slot with a window, topmost first: of two siblings the one created earlier lies
// above, and a frame lies beneath everything it contains. A runtime that makes every control
// a child of the window itself stacks them in exactly this order.
std::vector<std::size_t> StackingOrder(const FormLayout& layout);

}  // namespace tolvane::runtime
