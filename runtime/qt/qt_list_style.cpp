#include "runtime/qt/qt_list_style.h"

#include <QPainter>
#include <QStyleOptionComplex>
#include <QWidget>

#include "runtime/control_layout.h"

namespace tolvane::runtime {
namespace {

constexpr int kArrowWidth = 17;  // the drop-down button, inside the border, at 96 dpi
constexpr int kTextIndent = 3;   // from the thin border to the entry, at 96 dpi

// The layout follows the screen's DPI when the toolkit does not scale; so do these.
int Scaled(int pixels, const QWidget* widget) {
  return widget ? FromDesignPixels(pixels, widget->logicalDpiY()) : pixels;
}

int BorderWidth(const QStyleOption& option) {
  return option.state & QStyle::State_HasFocus ? 2 : 1;
}

}  // namespace

void FlatListStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                       QPainter* painter, const QWidget* widget) const {
  if (control != CC_ComboBox) {
    return QProxyStyle::drawComplexControl(control, option, painter, widget);
  }
  const int border = BorderWidth(*option);
  // Focused, the border takes the list's text colour: black as designed, the desktop's own in
  // high contrast.
  const QColor line = option->state & State_HasFocus ? option->palette.color(QPalette::Text)
                                                     : QColor(0x80, 0x80, 0x80);
  painter->fillRect(option->rect, line);
  painter->fillRect(option->rect.adjusted(border, border, -border, -border),
                    option->palette.base());

  // The button: a light face with a raised edge and the arrow.
  const QRect button = subControlRect(CC_ComboBox, option, SC_ComboBoxArrow, widget);
  painter->fillRect(button, option->palette.button());
  painter->fillRect(QRect(button.topLeft(), QSize(button.width(), 1)), option->palette.light());
  painter->fillRect(QRect(button.topLeft(), QSize(1, button.height())), option->palette.light());
  painter->fillRect(QRect(button.left(), button.bottom(), button.width(), 1),
                    option->palette.mid());
  painter->fillRect(QRect(button.right(), button.top(), 1, button.height()), option->palette.mid());
  QStyleOption arrow = *option;
  arrow.rect = button.adjusted(4, 4, -4, -4);
  proxy()->drawPrimitive(PE_IndicatorArrowDown, &arrow, painter, widget);
}

QRect FlatListStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                    SubControl sub, const QWidget* widget) const {
  if (control != CC_ComboBox) return QProxyStyle::subControlRect(control, option, sub, widget);
  // The same places with or without the focus: only the border's look changes.
  const QRect inside = option->rect.adjusted(1, 1, -1, -1);
  const int arrowWidth = Scaled(kArrowWidth, widget);
  switch (sub) {
    case SC_ComboBoxArrow:
      return QRect(inside.right() - arrowWidth + 1, inside.top(), arrowWidth, inside.height())
          .adjusted(0, 1, -1, -1);
    case SC_ComboBoxEditField:
      return inside.adjusted(Scaled(kTextIndent, widget), 0, -arrowWidth - 1, 0);
    case SC_ComboBoxFrame:
      return option->rect;
    case SC_ComboBoxListBoxPopup:
      return option->rect;
    default:
      return QProxyStyle::subControlRect(control, option, sub, widget);
  }
}

int FlatListStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                             QStyleHintReturn* returnData) const {
  if (hint == SH_ComboBox_Popup) return 0;  // a list below the field, not a menu over it
  return QProxyStyle::styleHint(hint, option, widget, returnData);
}

}  // namespace tolvane::runtime
