#pragma once

namespace tolvane::system {

// Whether a window system answers this process: the Wayland compositor of WAYLAND_DISPLAY
// (its socket accepts a connection) or the X server of DISPLAY (it completes the handshake).
// Tells a start that finds no display from one whose toolkit could not use the one it found.
// Linux only: a Windows session always has its desktop.
bool AnyDisplayAnswers();

}  // namespace tolvane::system
