#pragma once

namespace tolvane::system {

// Whether a window system is there for this process: the Wayland compositor of
// WAYLAND_DISPLAY (or of the default socket, where the toolkit would have tried it) or the X
// server of DISPLAY, whose socket accepts a connection, whether or not the server then lets
// the process in. Tells a start that finds no display from one whose toolkit could not use
// the one it found. Answers within about a second. Linux only: a Windows session always has
// its desktop.
bool AnyDisplayAnswers();

}  // namespace tolvane::system
