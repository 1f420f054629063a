#pragma once

#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>
#include <cstddef>
#include <functional>

#include "runtime/control_layout.h"
#include "runtime/controls.h"
#include "runtime/event_port.h"
#include "runtime/qt/qt_form_colors.h"

namespace tolvane::runtime {

class QtCheckBox final : public CheckBox {
 public:
  QtCheckBox(QCheckBox& box, std::size_t slot, EventPort& port, const FormLayout& layout,
             const FormColors& colors);
  std::int16_t Value() const override;
  void SetValue(std::int16_t value) override;
  Color ForeColor() const override { return foreColor_; }
  void SetForeColor(Color color) override;
  // Draws the caption in its colour as the form's colours give it now.
  void ShowForeColor();

 private:
  QCheckBox& box_;
  std::size_t slot_;
  EventPort& port_;
  const FormLayout& layout_;
  const FormColors& colors_;
  Color foreColor_ = kBlack;
};

// A pick-only list. The user's choice, from the open list, the keys, or a screen reader setting
// its value, goes one way: the entry becomes current, then the choice is reported once.
class PickList final : public QComboBox {
 public:
  explicit PickList(QWidget* parent);
  void WhenChosen(std::function<void()> chosen) { chosen_ = std::move(chosen); }
  // A choice of an entry that exists and is not current; anything else is ignored.
  void Choose(int index);
  void showPopup() override;  // names its drop-down first (made on the first opening)

 private:
  std::function<void()> chosen_;
};

class QtComboBox final : public ComboBox {
 public:
  QtComboBox(PickList& list, std::size_t slot, EventPort& port);
  void AddItem(std::string_view text) override;
  int ListCount() const override { return list_.count(); }
  int ListIndex() const override { return list_.currentIndex(); }
  void SetListIndex(int index) override;

 private:
  PickList& list_;
  std::size_t slot_;
  EventPort& port_;
};

class QtTextBox final : public TextBox {
 public:
  explicit QtTextBox(QLineEdit& edit) : edit_(edit) {}
  std::string Text() const override { return edit_.text().toStdString(); }
  void SetText(std::string_view utf8) override;

 private:
  QLineEdit& edit_;
};

class QtTimer final : public Timer {
 public:
  QtTimer(QTimer& timer, std::size_t slot, EventPort& port);
  bool Enabled() const override { return timer_.isActive(); }
  void SetEnabled(bool enabled) override;

 private:
  QTimer& timer_;
};

// A result box: a double-click selects the whole password, not just the word under the
// mouse (punctuation would otherwise split it).
class WholeTextEdit final : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// A label that reports a left click (press and release inside it).
class ClickableLabel final : public QLabel {
 public:
  ClickableLabel(QWidget* parent, std::function<void()> onClick);
  void Click() const {
    if (onClick_) onClick_();
  }

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  // The second press of a double-click: a double-click is one click, as on Windows.
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  std::function<void()> onClick_;
  bool pressed_ = false;
};

}  // namespace tolvane::runtime
