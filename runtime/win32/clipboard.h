#pragma once

#include <windows.h>

namespace tolvane::runtime {

// Adds to what `owner` just put on the clipboard the formats by which Windows' clipboard
// history, cloud clipboard and clipboard monitors leave an entry alone. The text stays as the
// control put it.
void MarkClipboardSecret(HWND owner);

}  // namespace tolvane::runtime
