#include "runtime/windowless_runtime.h"

#include <stdexcept>
#include <utility>
#include <vector>

namespace tolvane::runtime {
namespace {

// One control of any kind; the form files it under the kind its layout gives.
class ValueControl final : public CheckBox, public ComboBox, public TextBox, public Timer {
 public:
  ValueControl(EventPort& port, std::size_t slot, const ControlLayout& layout)
      : port_(port), slot_(slot), value_(layout.value != 0 ? 1 : 0), color_(layout.foreColor) {}

  std::int16_t Value() const override { return value_; }
  void SetValue(std::int16_t value) override {
    const std::int16_t checked = value != 0 ? 1 : 0;
    if (checked == value_) return;
    value_ = checked;
    port_.Click(slot_);
  }
  Color ForeColor() const override { return color_; }
  void SetForeColor(Color color) override { color_ = color; }

  void AddItem(std::string_view text) override { items_.emplace_back(text); }
  int ListCount() const override { return static_cast<int>(items_.size()); }
  int ListIndex() const override { return index_; }
  void SetListIndex(int index) override {
    if (index < -1 || index >= ListCount()) throw std::out_of_range("no such list entry");
    index_ = index;
    port_.Click(slot_);
  }

  std::string Text() const override { return text_; }
  void SetText(std::string_view utf8) override { text_ = utf8; }

  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool enabled) override { enabled_ = enabled; }

 private:
  EventPort& port_;
  std::size_t slot_;
  std::int16_t value_;
  Color color_;
  std::vector<std::string> items_;
  int index_ = -1;
  std::string text_;
  bool enabled_ = false;
};

class WindowlessForm final : public ToolkitForm {
 public:
  WindowlessForm(const FormLayout& layout, FormEvents& events, const bool& ended,
                 EventPort::FailHandler fail)
      : ToolkitForm(events, ended, std::move(fail)) {
    controls_.resize(layout.controls.size());
    for (std::size_t slot = 0; slot < layout.controls.size(); ++slot) {
      const ControlLayout& c = layout.controls[slot];
      auto make = [&] { return std::make_unique<ValueControl>(Port(), slot, c); };
      switch (c.kind) {
        case ControlKind::CheckBox:
          controls_[slot].checkBox = make();
          break;
        case ControlKind::ComboBox:
          controls_[slot].comboBox = make();
          break;
        case ControlKind::TextBox:
          controls_[slot].textBox = make();
          break;
        case ControlKind::Timer:
          controls_[slot].timer = make();
          break;
        case ControlKind::Frame:
        case ControlKind::Label:
          break;
      }
    }
  }
  void Show() override {}
  void Hide() override {}
};

}  // namespace

WindowlessRuntime::WindowlessRuntime(Services services, ProgramInfo program,
                                     std::function<void()> whenEnded)
    : ToolkitRuntime(services, program), whenEnded_(std::move(whenEnded)) {}

std::unique_ptr<ToolkitForm> WindowlessRuntime::MakeForm(const FormLayout& layout,
                                                         FormEvents& events, const bool& ended,
                                                         EventPort::FailHandler fail) {
  return std::make_unique<WindowlessForm>(layout, events, ended, std::move(fail));
}

void WindowlessRuntime::Loop() {
  throw std::logic_error("a start without a window went on past loading");
}

void WindowlessRuntime::Quit() {
  if (whenEnded_) std::exchange(whenEnded_, nullptr)();
}

}  // namespace tolvane::runtime
