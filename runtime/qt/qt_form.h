#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "runtime/control_spec.h"
#include "runtime/form.h"
#include "runtime/qt/qt_controls.h"

namespace tolvane::runtime {

// A window and its controls built from a layout, with the contract's events.
class QtForm final : public Form {
 public:
  QtForm(const FormSpec& layout, FormEvents& events, const bool& ended);
  ~QtForm() override;

  CheckBox& CheckBoxAt(std::size_t slot) override;
  ComboBox& ComboBoxAt(std::size_t slot) override;
  TextBox& TextBoxAt(std::size_t slot) override;
  Timer& TimerAt(std::size_t slot) override;
  void Unload() override;

  EventPort& port() { return port_; }
  void Show();
  void StopTimers();
  QWidget& Window() { return *window_; }
  // The widget made for a slot; null for a timer.
  QWidget* WidgetAt(std::size_t slot) const { return slots_.at(slot).widget; }

 private:
  struct Slot {
    QWidget* widget = nullptr;
    QTimer* timer = nullptr;
    std::unique_ptr<CheckBox> checkBox;
    std::unique_ptr<ComboBox> comboBox;
    std::unique_ptr<TextBox> textBox;
    std::unique_ptr<Timer> timerControl;
  };

  void Build(const FormSpec& layout);
  QWidget* Create(std::size_t slot, const ControlSpec& control, QWidget& parent);
  void WatchKeys(std::size_t slot, QWidget& widget);

  EventPort port_;
  std::unique_ptr<QWidget> window_;
  std::unique_ptr<QObject> keyFilter_;
  std::vector<Slot> slots_;
  QWidget* firstFocus_ = nullptr;
};

}  // namespace tolvane::runtime
