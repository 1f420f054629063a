#pragma once

#include <windows.h>

namespace tolvane::runtime {

// Puts the edit control's selected text on the clipboard in one transaction, together with the
// formats by which Windows' clipboard history, cloud clipboard and clipboard monitors leave
// an entry alone. With nothing selected, or when the clipboard stays held by another program
// for about 100 ms, the clipboard is left as it is; when the text or a mark cannot be put on
// it, it is left empty. Returns whether the text went on it with every mark.
bool CopySelectionAsSecret(HWND edit);

}  // namespace tolvane::runtime
