#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>

#include "runtime/color.h"

namespace tolvane::runtime {

inline QColor ToQColor(Color c) {
  return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

// The colours the form is drawn in: its designed ones, over the style's own light palette; or,
// while the desktop asks for high contrast, the desktop's own, those the user chose in order
// to see: its surfaces and fields and their texts, and for a text designed in any colour but
// black (the note, a warning caption) the link colour, which a high-contrast scheme sets
// apart from text.
struct FormColors {
  bool highContrast = false;

  // The whole palette of the window, under the colours each control is given.
  QPalette WindowPalette() const;
  QColor Back(Color designed, bool field) const;
  QColor Text(Color designed, bool field) const;
};

// Fields (text boxes, lists) paint their inside in Base; everything else, the check boxes'
// captions included, in Window. A check box's own box keeps the palette's Base.
void SetBackground(QWidget& widget, const QColor& color, bool field);
// Every text a widget draws.
void SetTextColor(QWidget& widget, const QColor& color);
// A check box's caption only: the style draws the tick in Text, which keeps the look of the box.
void SetCaptionColor(QWidget& box, const QColor& color);

}  // namespace tolvane::runtime
