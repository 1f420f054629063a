#pragma once

#include <windows.h>

#include <optional>

#include "driven_runtime.h"
#include "runtime/win32/win32_form.h"
#include "runtime/win32/win32_runtime.h"

namespace tolvane::testing {

// The Win32 runtime driven by tests, which find the last form's window as the system holds
// it (the top-level window whose user data is that form) and each control by its identifier.
class Win32DrivenRuntime final : public Driven<runtime::Win32Runtime> {
 public:
  using Driven::Driven;

  HWND Window() {
    const void* form = static_cast<runtime::Win32Form*>(&LastForm());
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, nullptr, nullptr)) != nullptr;) {
      if (GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId() &&
          reinterpret_cast<const void*>(GetWindowLongPtrW(w, GWLP_USERDATA)) == form) {
        return w;
      }
    }
    return nullptr;
  }
  HWND ControlAt(std::size_t slot) {
    return GetDlgItem(Window(), runtime::kFirstControlId + static_cast<int>(slot));
  }
  // The slot of a control's window, if it is one of the last form's.
  std::optional<std::size_t> SlotOfControl(HWND hwnd) {
    if (hwnd == nullptr || GetParent(hwnd) != Window()) return std::nullopt;
    const int slot = GetDlgCtrlID(hwnd) - runtime::kFirstControlId;
    if (slot < 0) return std::nullopt;
    return static_cast<std::size_t>(slot);
  }
};

}  // namespace tolvane::testing
