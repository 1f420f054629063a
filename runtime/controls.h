#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/color.h"

namespace tolvane::runtime {

// The properties the window logic reads and writes. Writes that the contract says raise an
// event raise it before they return, on the same thread, nested inside the caller.

// A check box's value is 0 or 1: any other value given to one means checked.
constexpr std::int16_t CheckValue(int value) {
  return value != 0 ? 1 : 0;
}

// A list takes the index of one of its entries, or -1 for none; any other is ignored.
constexpr bool IsListIndex(int index, int count) {
  return index >= -1 && index < count;
}

class CheckBox {
 public:
  virtual ~CheckBox() = default;
  virtual std::int16_t Value() const = 0;
  // 0 or 1. A value different from the current one raises Click; the same value nothing.
  virtual void SetValue(std::int16_t value) = 0;
  virtual Color ForeColor() const = 0;
  virtual void SetForeColor(Color color) = 0;
};

class ComboBox {
 public:
  virtual ~ComboBox() = default;
  virtual void AddItem(std::string_view text) = 0;
  virtual int ListCount() const = 0;
  virtual int ListIndex() const = 0;  // -1 when nothing is selected
  // Selects the entry and raises Click.
  virtual void SetListIndex(int index) = 0;
};

class TextBox {
 public:
  virtual ~TextBox() = default;
  virtual std::string Text() const = 0;  // UTF-8
  virtual void SetText(std::string_view utf8) = 0;
};

class Timer {
 public:
  virtual ~Timer() = default;
  virtual bool Enabled() const = 0;
  // While enabled the Timer event comes every interval; enabling a stopped timer starts a
  // fresh full interval.
  virtual void SetEnabled(bool enabled) = 0;
};

// A control that serves as any kind, for a form whose controls need no window: the form files
// it under the kind its layout gives.
class AnyControl : public CheckBox, public ComboBox, public TextBox, public Timer {};

}  // namespace tolvane::runtime
