#include "runtime/qt/qt_accessible_text.h"

#include <QTextBoundaryFinder>
#include <algorithm>
#include <vector>

namespace tolvane::runtime {

std::optional<TextSpan> SpanInside(int start, int end, int length) {
  if (end == -1) end = length;
  if (start < 0 || start > end || end > length) return std::nullopt;
  return TextSpan{start, end};
}

TextSpan ClampedSpan(int start, int end, int length) {
  if (end == -1) end = length;
  const int from = std::clamp(start, 0, length);
  return {from, std::clamp(end, from, length)};
}

bool OffsetInside(int offset, int length) {
  return offset >= 0 && offset <= length;
}

QString BoundedText::text(int start, int end) const {
  const QString whole = Text();
  const TextSpan span = ClampedSpan(start, end, static_cast<int>(whole.size()));
  return whole.mid(span.start, span.end - span.start);
}

QString BoundedText::textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                                  int* end) const {
  return Piece(offset, boundary, 0, start, end);
}
QString BoundedText::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary,
                                      int* start, int* end) const {
  return Piece(offset, boundary, -1, start, end);
}
QString BoundedText::textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                                     int* end) const {
  return Piece(offset, boundary, 1, start, end);
}

QString BoundedText::attributes(int offset, int* start, int* end) const {
  const int length = characterCount();
  *start = OffsetInside(offset, length) ? 0 : -1;
  *end = OffsetInside(offset, length) ? length : -1;
  return {};
}

// The pieces' bounds are found in one pass over the text: characters, words as the toolkit
// finds them (Qt 6.4's own search for the word at an offset never returns at the end of a
// text, nor at its start before a character that is no letter or digit), or the one line.
// At the very end, the word or line that holds the offset is the last one.
QString BoundedText::Piece(int offset, QAccessible::TextBoundaryType boundary, int step, int* start,
                           int* end) const {
  *start = *end = -1;
  const QString whole = Text();
  const auto length = static_cast<int>(whole.size());
  if (whole.isEmpty() || !OffsetInside(offset, length)) return {};
  std::vector<int> bounds{0};
  if (boundary == QAccessible::CharBoundary) {
    for (int i = 1; i <= length; ++i) bounds.push_back(i);
  } else if (boundary == QAccessible::WordBoundary) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Word, whole);
    while (finder.toNextBoundary() != -1) bounds.push_back(static_cast<int>(finder.position()));
  } else {
    bounds.push_back(length);  // sentences, paragraphs, lines: a box holds one line
  }
  // The end of the text holds no character, but the last word or line.
  const int at = boundary == QAccessible::CharBoundary ? offset : std::min(offset, length - 1);
  const auto holding = std::upper_bound(bounds.begin(), bounds.end(), at) - bounds.begin() - 1;
  const auto piece = holding + step;
  if (piece < 0 || piece + 1 >= static_cast<int>(bounds.size())) return {};
  *start = bounds[piece];
  *end = bounds[piece + 1];
  return whole.mid(*start, *end - *start);
}

}  // namespace tolvane::runtime
