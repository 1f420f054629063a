#pragma once

namespace tolvane::system {

// A launcher that starts a program with a start-up ID (DESKTOP_STARTUP_ID, on X11) shows a
// busy cursor until the program's first window maps or the program says the start is over.
// Says so, for a start that shows no window (a second instance), when there is an ID and a
// display to tell; otherwise does nothing. Windows ends the busy cursor by itself.
void CompleteStartupNotice();

}  // namespace tolvane::system
