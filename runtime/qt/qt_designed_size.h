#pragma once

#include <QSize>

class QWidget;

namespace tolvane::runtime {

// Keeps a top-level window at its designed size on every desktop. The size is fixed
// (minimum = maximum), so tiling compositors float the window at that size and others offer
// no resizing. A maximised state is answered with a return to the normal state (three times
// in a row at most: a shell that insists keeps its way, the controls keep their places); a
// fullscreen
// one lasts until the desktop ends it (the controls stay where they are, the window around
// them grows), and the window then has its designed size again.
void KeepDesignedSize(QWidget& window, QSize size);

}  // namespace tolvane::runtime
