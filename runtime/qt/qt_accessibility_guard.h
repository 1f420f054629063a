#pragma once

namespace tolvane::runtime {

// From the moment the toolkit's AT-SPI bridge serves the accessibility bus, every call from
// the bus passes a guard first: any program of the session may call, a buggy or a hostile
// one as well as a screen reader. The guard answers at once, with an error, a call to a
// method or property the node does not declare or with arguments of other types than
// declared (the bridge reads a missing argument out of bounds and crashes). It answers
// itself the calls the bridge would answer with unbounded work or not at all: the extents
// of a range of characters (the bridge asks for each character of the caller's range), the
// ranges inside a rectangle (never answered), and the insertion of a text with a length of
// the caller's (allocated as asked), and a value set through the method, which the bridge
// reads as if it were the property's (a third argument, out of bounds); and it answers the
// setting of the application's id, which the bridge takes without a word. Everything else goes on
// to the bridge, whose text answers keep to the text rule of qt_accessible_text.h. Calling more
// than once does nothing.
void GuardAccessibilityBridge();

}  // namespace tolvane::runtime
