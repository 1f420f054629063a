#pragma once

#include <windows.h>

namespace tolvane::runtime {

// Newer systems tell each window its monitor's DPI and size frames for it; older ones have
// one DPI for the screen.

// The DPI the window is shown at.
int WindowDpi(HWND window);
// Grows a client rectangle to the window's frame with the given style, at the given DPI.
void AdjustFrame(RECT& frame, DWORD style, int dpi);

}  // namespace tolvane::runtime
