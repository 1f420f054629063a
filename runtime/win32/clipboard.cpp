#include "runtime/win32/clipboard.h"

#include <initializer_list>

namespace tolvane::runtime {

void MarkClipboardSecret(HWND owner) {
  if (!OpenClipboard(owner)) return;
  for (const wchar_t* format : {L"ExcludeClipboardContentFromMonitorProcessing",
                                L"CanIncludeInClipboardHistory", L"CanUploadToCloudClipboard"}) {
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, sizeof(DWORD));
    if (!data) continue;
    *static_cast<DWORD*>(GlobalLock(data)) = 0;  // "no" for the two Can… formats
    GlobalUnlock(data);
    if (!SetClipboardData(RegisterClipboardFormatW(format), data)) GlobalFree(data);
  }
  CloseClipboard();
}

}  // namespace tolvane::runtime
