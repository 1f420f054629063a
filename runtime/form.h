#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "runtime/controls.h"

namespace tolvane::runtime {

// What a form delivers to its logic. Controls are named by their slot in the layout table.
class FormEvents {
 public:
  virtual ~FormEvents() = default;
  virtual void Load() = 0;
  virtual void Unload() = 0;
  virtual void Click(std::size_t slot) = 0;  // check boxes, lists, labels
  virtual void KeyDown(std::size_t slot, std::int16_t keyCode, std::int16_t shift) = 0;
  virtual void TimerTick(std::size_t slot) = 0;
};

// A window built from its layout. Asking for a slot as the wrong kind is a programming
// error and throws std::logic_error.
class Form {
 public:
  virtual ~Form() = default;
  virtual CheckBox& CheckBoxAt(std::size_t slot) = 0;
  virtual ComboBox& ComboBoxAt(std::size_t slot) = 0;
  virtual TextBox& TextBoxAt(std::size_t slot) = 0;
  virtual Timer& TimerAt(std::size_t slot) = 0;
  // Raises Unload, then closes the window.
  virtual void Unload() = 0;
};

// A runtime's control of the kind asked for, or std::logic_error when the slot holds
// another kind.
template <typename Control>
Control& RequireKind(const std::unique_ptr<Control>& control, const char* kind) {
  if (!control) throw std::logic_error(std::string("the slot holds no ") + kind);
  return *control;
}

}  // namespace tolvane::runtime
