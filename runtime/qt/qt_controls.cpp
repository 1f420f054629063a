#include "runtime/qt/qt_controls.h"

#include <QAbstractItemView>
#include <QMouseEvent>

#include "runtime/qt/qt_accessible.h"

namespace tolvane::runtime {

QtCheckBox::QtCheckBox(QCheckBox& box, std::size_t slot, EventPort& port, const FormLayout& layout,
                       const FormColors& colors)
    : box_(box), slot_(slot), port_(port), layout_(layout), colors_(colors) {
  // Every change of the state, whatever made it (mouse, space bar, a screen reader's Toggle
  // action, a Value write), raises Click once, inside the change.
  QObject::connect(&box_, &QCheckBox::toggled, &box_, [&port, slot] { port.Click(slot); });
}

std::int16_t QtCheckBox::Value() const {
  return box_.isChecked() ? 1 : 0;
}

void QtCheckBox::SetValue(std::int16_t value) {
  box_.setChecked(CheckValue(value) == 1);  // raises Click through toggled() when the state changes
}

void QtCheckBox::SetForeColor(Color color) {
  foreColor_ = color;
  ShowForeColor();
  // Heard as well as seen.
  const std::string_view note = CaptionColourNote(layout_, slot_, color);
  SetCaptionNote(box_, QString::fromUtf8(note.data(), static_cast<qsizetype>(note.size())));
}

void QtCheckBox::ShowForeColor() {
  SetCaptionColor(box_, colors_.Text(foreColor_, false));
}

PickList::PickList(QWidget* parent) : QComboBox(parent) {
  setEditable(false);
  // activated() comes from the user's choice only, never from setCurrentIndex().
  connect(this, &QComboBox::activated, this, [this] {
    if (chosen_) chosen_();
  });
}

void PickList::Choose(int index) {
  if (index < 0 || index >= count() || index == currentIndex()) return;
  setCurrentIndex(index);
  if (chosen_) chosen_();
}

void PickList::showPopup() {
  NameDropDown(*this, *view());
  QComboBox::showPopup();
}

QtComboBox::QtComboBox(PickList& list, std::size_t slot, EventPort& port)
    : list_(list), slot_(slot), port_(port) {
  list_.WhenChosen([&port, slot] { port.Click(slot); });
}

void QtComboBox::AddItem(std::string_view text) {
  const bool first = list_.count() == 0;
  list_.addItem(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  if (first) list_.setCurrentIndex(-1);  // Qt selects a first entry; the contract does not
}

void QtComboBox::SetListIndex(int index) {
  if (!IsListIndex(index, list_.count())) return;
  list_.setCurrentIndex(index);
  port_.Click(slot_);
}

void QtTextBox::SetText(std::string_view utf8) {
  edit_.setText(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
  // A reader does not speak a change it did not see the user make: the box in use says its
  // new text.
  if (edit_.hasFocus()) Announce(*edit_.window(), edit_.text());
}

QtTimer::QtTimer(QTimer& timer, std::size_t slot, EventPort& port) : timer_(timer) {
  // A precise timer never fires early; the coarse default may by up to 5%.
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, &timer_, [&port, slot] { port.TimerTick(slot); });
}

void QtTimer::SetEnabled(bool enabled) {
  if (!enabled) {
    timer_.stop();
  } else if (!timer_.isActive()) {
    timer_.start();
  }
}

void WholeTextEdit::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QLineEdit::mouseDoubleClickEvent(event);
  selectAll();
  event->accept();
}

ClickableLabel::ClickableLabel(QWidget* parent, std::function<void()> onClick)
    : QLabel(parent), onClick_(std::move(onClick)) {}

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
  QLabel::mousePressEvent(event);
}

void ClickableLabel::mouseDoubleClickEvent(QMouseEvent* event) {
  event->accept();  // not a press: the release that follows makes no click
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
  const bool click =
      pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  QLabel::mouseReleaseEvent(event);
  if (click) Click();
}

}  // namespace tolvane::runtime
