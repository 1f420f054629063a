#pragma once

#include <QProxyStyle>

namespace tolvane::runtime {

// A pick-only list drawn flat in its field colour with a thin grey border, not as a shaded
// button; with the focus the border is twice as wide and black. The list opens below the
// field. Painted by the style rather than a style sheet, which would cost the start a style
// sheet engine and build every drop-down at once.
class FlatListStyle final : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;

  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                          QPainter* painter, const QWidget* widget) const override;
  QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                       const QWidget* widget) const override;
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override;
};

}  // namespace tolvane::runtime
