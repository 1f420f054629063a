#include "runtime/qt/qt_form_colors.h"

#include <QApplication>
#include <QStyle>
#include <initializer_list>

namespace tolvane::runtime {
namespace {

// Everything the toolkit draws inside the window (boxes and ticks, arrows, frames, focus,
// selections, an open list) in the style's own light palette, complete, whatever the
// desktop's theme: the designed colours are laid over it, and a dark theme's roles under them
// would leave black ticks on dark boxes. Windows of their own (the text boxes' context menu)
// keep the desktop's palette, which is whole and reads as the desktop's other menus do.
// The selection and focus colour is a darker blue than the style's own, which stands 1.8 : 1
// off the grey: focus frames and selections stand out from every surface of the window.
QPalette DesignedPalette() {
  QPalette palette = QApplication::style()->standardPalette();
  for (const auto group : {QPalette::Active, QPalette::Inactive})
    palette.setColor(group, QPalette::Highlight, QColor(0, 80, 160));
  return palette;
}

void SetRoles(QWidget& widget, std::initializer_list<QPalette::ColorRole> roles,
              const QColor& color) {
  QPalette palette = widget.palette();
  for (const QPalette::ColorRole role : roles) palette.setColor(role, color);
  widget.setPalette(palette);
}

}  // namespace

QPalette FormColors::WindowPalette() const {
  return highContrast ? QApplication::palette() : DesignedPalette();
}

QColor FormColors::Back(Color designed, bool field) const {
  if (!highContrast) return ToQColor(designed);
  return QApplication::palette().color(field ? QPalette::Base : QPalette::Window);
}

QColor FormColors::Text(Color designed, bool field) const {
  if (!highContrast) return ToQColor(designed);
  return QApplication::palette().color(designed != kBlack ? QPalette::Link
                                       : field            ? QPalette::Text
                                                          : QPalette::WindowText);
}

void SetBackground(QWidget& widget, const QColor& color, bool field) {
  SetRoles(widget, {field ? QPalette::Base : QPalette::Window}, color);
}

void SetTextColor(QWidget& widget, const QColor& color) {
  SetRoles(widget, {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}, color);
}

void SetCaptionColor(QWidget& box, const QColor& color) {
  SetRoles(box, {QPalette::WindowText, QPalette::ButtonText}, color);
}

}  // namespace tolvane::runtime
