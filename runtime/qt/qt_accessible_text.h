#pragma once

#include <QAccessibleTextInterface>
#include <QString>
#include <optional>

namespace tolvane::runtime {

// One rule for every text the window shows a screen reader, whoever asks: offsets count
// characters from 0 to the text's length, an end of -1 is the text's end, and a range is
// inside the text when 0 <= start <= end <= length. Reading outside the text is clamped to
// it; an edit, a selection or a caret outside it is refused and changes nothing. Every
// answer takes work bounded by the text's length, whatever the numbers asked.
struct TextSpan {
  int start = 0;
  int end = 0;
};
// The range, if it lies inside a text of that length (an end of -1: the text's end).
std::optional<TextSpan> SpanInside(int start, int end, int length);
// The part of the range that lies inside the text, empty where none does.
TextSpan ClampedSpan(int start, int end, int length);
bool OffsetInside(int offset, int length);

// A text as the rule reads it: its characters, its words (runs of letters and digits, and
// each other character alone), and one line that is the whole text. What is not text here
// (selections, caret, places on screen) a subclass adds.
class BoundedText : public QAccessibleTextInterface {
 public:
  virtual QString Text() const = 0;

  QString text(int start, int end) const override;
  int characterCount() const override { return static_cast<int>(Text().size()); }
  QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                       int* end) const override;
  QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                           int* end) const override;
  QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* start,
                          int* end) const override;
  QString attributes(int offset, int* start, int* end) const override;
  void scrollToSubstring(int, int) override {}

 private:
  // The piece of the given kind that holds the offset, or the one `step` pieces away.
  QString Piece(int offset, QAccessible::TextBoundaryType boundary, int step, int* start,
                int* end) const;
};

}  // namespace tolvane::runtime
