#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace tolvane::runtime {

// The keyboard focus among a window's controls, as in a dialog: Tab and Shift+Tab go round the
// tab order, and the window gives the focus back to the control that had it last.
class TabRing {
 public:
  void Add(HWND control) { order_.push_back(control); }
  // Remembers the control as the one to return to.
  void Note(HWND control) { last_ = control; }
  void Forget() { last_ = nullptr; }
  // Focuses the control noted last, or the first in the tab order.
  void Restore();
  // The next control after from, or the one before; the focus rectangle shows from then on.
  void Move(HWND window, HWND from, bool backwards);

 private:
  std::vector<HWND> order_;
  HWND last_ = nullptr;
};

// Shift, Ctrl and Alt as they are held now, as the contract's shift mask.
std::int16_t ShiftState();

}  // namespace tolvane::runtime
