#include "runtime/qt/qt_frame.h"

#include <QPainter>

namespace tolvane::runtime {
namespace {
constexpr int kCaptionLeft = 6;  // pixels from the frame's left edge
constexpr int kCaptionPad = 2;
}  // namespace

EtchedFrame::EtchedFrame(const QString& caption, QWidget* parent) : QGroupBox(parent) {
  // The title is set here, not by the base: setting it tells accessibility, which then makes
  // the frame's accessible interface, and it must see a finished EtchedFrame to choose ours.
  setTitle(caption);
  setFocusPolicy(Qt::NoFocus);
  setFlat(true);
}

void EtchedFrame::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QFontMetrics metrics(font());
  const int lineY = metrics.height() / 2;
  const QRect box = rect().adjusted(0, lineY, -2, -2);

  // Shadow line, then the highlight one pixel down and right: the etched look.
  painter.setPen(palette().color(QPalette::Dark));
  painter.drawRect(box);
  painter.setPen(palette().color(QPalette::Light));
  painter.drawRect(box.translated(1, 1));

  const QString caption = title();
  if (caption.isEmpty()) return;
  const QRect textRect(kCaptionLeft, 0, metrics.horizontalAdvance(caption) + 2 * kCaptionPad,
                       metrics.height());
  painter.fillRect(textRect, palette().color(QPalette::Window));
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(textRect, Qt::AlignCenter | Qt::TextSingleLine, caption);
}

}  // namespace tolvane::runtime
