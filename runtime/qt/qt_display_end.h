#pragma once

#include <QString>

namespace tolvane::runtime {

// Whether a message of the toolkit's tells that its connection to the display broke: it says
// so just before it ends the process itself (on X11 through exit(1), on Wayland through
// _exit(1), which runs no exit handler), so a handler of its messages is the last place to
// end the process in the program's own way.
inline bool TellsOfTheDisplaysEnd(const QString& text) {
  return text.contains(QLatin1String("connection broke")) ||
         text.contains(QLatin1String("connection experienced a fatal error"));
}

}  // namespace tolvane::runtime
