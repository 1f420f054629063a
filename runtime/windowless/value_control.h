#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "runtime/control_layout.h"
#include "runtime/controls.h"
#include "runtime/event_port.h"

namespace tolvane::runtime {

// A control with no window: it holds its values and raises the contract's events through the
// form's port.
class ValueControl final : public AnyControl {
 public:
  ValueControl(EventPort& port, std::size_t slot, const ControlLayout& layout)
      : port_(port), slot_(slot), value_(CheckValue(layout.value)), color_(layout.foreColor) {}

  std::int16_t Value() const override { return value_; }
  void SetValue(std::int16_t value) override;
  Color ForeColor() const override { return color_; }
  void SetForeColor(Color color) override { color_ = color; }

  void AddItem(std::string_view text) override { items_.emplace_back(text); }
  int ListCount() const override { return static_cast<int>(items_.size()); }
  int ListIndex() const override { return index_; }
  void SetListIndex(int index) override;
  const std::vector<std::string>& Items() const { return items_; }

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

}  // namespace tolvane::runtime
