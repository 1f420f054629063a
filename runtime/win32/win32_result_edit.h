#pragma once

#include <windows.h>

namespace tolvane::runtime {

// Makes an edit control a result box: no limit to its text, a double-click selects the whole
// password rather than the word under the mouse, and what is copied or cut (keys or context
// menu) goes on the clipboard marked as a secret for clipboard tools, in one transaction.
void MakeResultEdit(HWND edit);

}  // namespace tolvane::runtime
