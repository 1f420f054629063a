#pragma once

#include <QAccessibleInterface>
#include <QLineEdit>

namespace tolvane::runtime {

// A result box as a screen reader reads it: its one line is the whole password in every
// reading, and each word can be asked for.
QAccessibleInterface* MakeResultBoxAccessible(QLineEdit& box);

}  // namespace tolvane::runtime
