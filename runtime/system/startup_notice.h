#pragma once

#include <QByteArray>

namespace tolvane::runtime {

// A launcher on X11 that starts a program with DESKTOP_STARTUP_ID shows a busy cursor until
// the program's first window maps or the program says the start is over. Tells it so, for a
// start that shows no window (a second instance): the X11 start-up notification "remove".
void CompleteStartupNotice(const QByteArray& startupId);

}  // namespace tolvane::runtime
