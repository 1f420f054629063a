#include "runtime/win32/win32_focus.h"

#include <algorithm>

#include "runtime/keys.h"

namespace tolvane::runtime {

void TabRing::Restore() {
  if (last_ == nullptr && !order_.empty()) last_ = order_.front();
  if (last_ != nullptr) SetFocus(last_);
}

void TabRing::Move(HWND window, HWND from, bool backwards) {
  const auto at = std::find(order_.begin(), order_.end(), from);
  if (at == order_.end()) return;
  const std::size_t i = static_cast<std::size_t>(at - order_.begin());
  const std::size_t n = order_.size();
  SendMessageW(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
  SetFocus(order_[backwards ? (i + n - 1) % n : (i + 1) % n]);
}

std::int16_t ShiftState() {
  std::int16_t state = 0;
  if (GetKeyState(VK_SHIFT) < 0) state |= kShiftMask;
  if (GetKeyState(VK_CONTROL) < 0) state |= kCtrlMask;
  if (GetKeyState(VK_MENU) < 0) state |= kAltMask;
  return state;
}

}  // namespace tolvane::runtime
