#include "runtime/qt/qt_result_box_accessible.h"

#include <QAccessibleWidget>
#include <QFontMetrics>
#include <QLineEdit>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <vector>

namespace tolvane::runtime {
namespace {

// A password's words as a reader steps through them, as the toolkit finds them: runs of
// letters and digits, and each other character alone. The word that holds the offset (the
// last one at the very end), or the one step before or after it. Qt 6.4's own search for the
// word at an offset never returns at the end of a text, nor at its start before a character
// that is no letter or digit, and screen readers ask for both.
QString WordNear(const QString& text, int offset, int step, int* start, int* end) {
  *start = *end = -1;
  if (text.isEmpty() || offset < 0 || offset > text.size()) return {};
  std::vector<qsizetype> bounds{0};
  QTextBoundaryFinder finder(QTextBoundaryFinder::Word, text);
  while (finder.toNextBoundary() != -1) bounds.push_back(finder.position());
  const qsizetype at = std::min<qsizetype>(offset, text.size() - 1);
  const auto holding = std::upper_bound(bounds.begin(), bounds.end(), at) - bounds.begin() - 1;
  const auto word = holding + step;
  if (word < 0 || word + 1 >= static_cast<qsizetype>(bounds.size())) return {};
  *start = static_cast<int>(bounds[word]);
  *end = static_cast<int>(bounds[word + 1]);
  return text.mid(*start, *end - *start);
}

// A result box as Qt presents a line edit, except that its one line is the whole text in
// every reading (Qt 6.4 ends a one-line edit's line a character early, so a reader said the
// password without its last character).
class ResultBoxAccessible final : public QAccessibleWidget,
                                  public QAccessibleTextInterface,
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

  QString text(int start, int end) const override { return Box().text().mid(start, end - start); }
  int characterCount() const override { return static_cast<int>(Box().text().size()); }
  QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                       int* end) const override {
    if (boundary == QAccessible::WordBoundary) return WordNear(Box().text(), offset, 0, start, end);
    if (boundary == QAccessible::CharBoundary)
      return QAccessibleTextInterface::textAtOffset(offset, boundary, start, end);
    *start = 0;
    *end = characterCount();
    return Box().text();
  }
  QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                           int* end) const override {
    if (boundary == QAccessible::WordBoundary)
      return WordNear(Box().text(), offset, -1, start, end);
    if (boundary == QAccessible::CharBoundary)
      return QAccessibleTextInterface::textBeforeOffset(offset, boundary, start, end);
    *start = *end = -1;  // one line: nothing before it or after it
    return {};
  }
  QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                          int* end) const override {
    if (boundary == QAccessible::WordBoundary) return WordNear(Box().text(), offset, 1, start, end);
    if (boundary == QAccessible::CharBoundary)
      return QAccessibleTextInterface::textAfterOffset(offset, boundary, start, end);
    *start = *end = -1;
    return {};
  }

  void selection(int index, int* start, int* end) const override {
    *start = *end = 0;
    if (index != 0 || !Box().hasSelectedText()) return;
    *start = Box().selectionStart();
    *end = *start + Box().selectionLength();
  }
  int selectionCount() const override { return Box().hasSelectedText() ? 1 : 0; }
  void addSelection(int start, int end) override { setSelection(0, start, end); }
  void removeSelection(int) override { Box().deselect(); }
  void setSelection(int, int start, int end) override { Box().setSelection(start, end - start); }
  int cursorPosition() const override { return Box().cursorPosition(); }
  void setCursorPosition(int position) override { Box().setCursorPosition(position); }
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
    return Box().cursorPositionAt(Box().mapFromGlobal(point));
  }
  void scrollToSubstring(int, int) override {}
  QString attributes(int, int* start, int* end) const override {
    *start = 0;
    *end = characterCount();
    return {};
  }

  void deleteText(int start, int end) override { replaceText(start, end, {}); }
  void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
  void replaceText(int start, int end, const QString& text) override {
    if (Box().isReadOnly()) return;
    Box().setText(Box().text().left(start) + text + Box().text().mid(end));
  }

 private:
  QLineEdit& Box() const { return *static_cast<QLineEdit*>(widget()); }
};

}  // namespace

QAccessibleInterface* MakeResultBoxAccessible(QLineEdit& box) {
  return new ResultBoxAccessible(&box);
}

}  // namespace tolvane::runtime
