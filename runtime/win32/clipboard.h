#pragma once

#include <windows.h>

namespace tolvane::runtime {

// Puts the edit control's selected text on the clipboard in one transaction, together with the
// formats by which Windows' clipboard history, cloud clipboard and clipboard monitors leave
// an entry alone. With nothing selected, or when the clipboard stays held by another program
// for about 100 ms, the clipboard is left as it is; returns whether the text went on it.
bool CopySelectionAsSecret(HWND edit);

}  // namespace tolvane::runtime
