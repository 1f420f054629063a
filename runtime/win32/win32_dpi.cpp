#include "runtime/win32/win32_dpi.h"

namespace tolvane::runtime {
namespace {

// A user32 function the system may not have: null when it does not.
template <typename Function>
Function Optional(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

}  // namespace

int WindowDpi(HWND window) {
  static const auto forWindow = Optional<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
  if (forWindow != nullptr) {
    if (const UINT dpi = forWindow(window); dpi != 0) return static_cast<int>(dpi);
  }
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

void AdjustFrame(RECT& frame, DWORD style, int dpi) {
  static const auto forDpi =
      Optional<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
  if (forDpi != nullptr && forDpi(&frame, style, FALSE, 0, static_cast<UINT>(dpi))) return;
  AdjustWindowRectEx(&frame, style, FALSE, 0);
}

}  // namespace tolvane::runtime
