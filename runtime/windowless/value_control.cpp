#include "runtime/windowless/value_control.h"

namespace tolvane::runtime {

void ValueControl::SetValue(std::int16_t value) {
  const std::int16_t checked = CheckValue(value);
  if (checked == value_) return;
  value_ = checked;
  port_.Click(slot_);
}

void ValueControl::SetListIndex(int index) {
  if (!IsListIndex(index, ListCount())) return;
  index_ = index;
  port_.Click(slot_);
}

}  // namespace tolvane::runtime
