#include "runtime/qt/qt_result_box_accessible.h"

#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QLineEdit>
#include <algorithm>

#include "runtime/qt/qt_accessible_text.h"

namespace tolvane::runtime {
namespace {

// A result box as Qt presents a line edit, except that its one line is the whole text in
// every reading (Qt 6.4 ends a one-line edit's line a character early, so a reader said the
// password without its last character), and that every offset keeps to the text rule.
class ResultBoxAccessible final : public QAccessibleWidget,
                                  public BoundedText,
                                  public QAccessibleEditableTextInterface {
  static constexpr int kTextMargin = 2;  // a line edit's own, left of its text

 public:
  explicit ResultBoxAccessible(QLineEdit* box)
      : QAccessibleWidget(box, QAccessible::EditableText) {}

  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    if (t == QAccessible::EditableTextInterface)
      return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
  }
  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Value ? Box().text() : QAccessibleWidget::text(t);
  }
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.editable = !Box().isReadOnly();
    s.readOnly = Box().isReadOnly();
    s.selectableText = true;
    return s;
  }

  QString Text() const override { return Box().text(); }
  using BoundedText::text;

  void selection(int index, int* start, int* end) const override {
    *start = *end = 0;
    if (index != 0 || !Box().hasSelectedText()) return;
    *start = Box().selectionStart();
    *end = *start + Box().selectionLength();
  }
  int selectionCount() const override { return Box().hasSelectedText() ? 1 : 0; }
  void addSelection(int start, int end) override { setSelection(0, start, end); }
  void removeSelection(int index) override {
    if (index == 0) Box().deselect();
  }
  void setSelection(int index, int start, int end) override {
    const auto span = SpanInside(std::min(start, end), std::max(start, end), characterCount());
    if (index == 0 && span) Box().setSelection(span->start, span->end - span->start);
  }
  int cursorPosition() const override { return Box().cursorPosition(); }
  void setCursorPosition(int position) override {
    if (OffsetInside(position, characterCount())) Box().setCursorPosition(position);
  }
  // On screen, as the box draws its text: from the left of its contents, after a margin.
  QRect characterRect(int offset) const override {
    const QLineEdit& box = Box();
    if (offset < 0 || offset >= characterCount()) return {};
    const QFontMetrics metrics(box.font());
    const QRect contents = box.contentsRect();
    const int left =
        contents.left() + kTextMargin + metrics.horizontalAdvance(box.text().left(offset));
    const QRect rect(left, contents.center().y() - metrics.height() / 2,
                     metrics.horizontalAdvance(box.text().at(offset)), metrics.height());
    return QRect(box.mapToGlobal(rect.topLeft()), rect.size());
  }
  int offsetAtPoint(const QPoint& point) const override {
    if (!Box().rect().contains(Box().mapFromGlobal(point))) return -1;
    return Box().cursorPositionAt(Box().mapFromGlobal(point));
  }

  void deleteText(int start, int end) override { replaceText(start, end, {}); }
  void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
  void replaceText(int start, int end, const QString& text) override {
    const QString whole = Box().text();
    const auto span = SpanInside(start, end, static_cast<int>(whole.size()));
    if (Box().isReadOnly() || !span) return;
    Box().setText(whole.left(span->start) + text + whole.mid(span->end));
  }

 private:
  QLineEdit& Box() const { return *static_cast<QLineEdit*>(widget()); }
};

}  // namespace

QAccessibleInterface* MakeResultBoxAccessible(QLineEdit& box) {
  return new ResultBoxAccessible(&box);
}

}  // namespace tolvane::runtime
