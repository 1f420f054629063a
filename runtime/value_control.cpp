#include "runtime/value_control.h"

namespace tolvane::runtime {

void ValueControl::SetValue(std::int16_t value) {
  const std::int16_t checked = value != 0 ? 1 : 0;
  if (checked == value_) return;
  value_ = checked;
  port_.Click(slot_);
}

void ValueControl::SetListIndex(int index) {
  if (index < -1 || index >= ListCount()) return;  // no such entry: ignored
  index_ = index;
  port_.Click(slot_);
}

}  // namespace tolvane::runtime
