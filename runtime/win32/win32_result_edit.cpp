#include "runtime/win32/win32_result_edit.h"

#include "runtime/win32/clipboard.h"

namespace tolvane::runtime {
namespace {

// The edit control's own procedure is kept in its user data.
LRESULT CALLBACK ResultEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(edit, GWLP_USERDATA));
  switch (message) {
    case WM_LBUTTONDBLCLK:
      SendMessageW(edit, EM_SETSEL, 0, -1);
      return 0;
    case WM_COPY:
      CopySelectionAsSecret(edit);
      return 0;
    case WM_CUT:  // the text leaves the box only once it is on the clipboard
      if (CopySelectionAsSecret(edit))
        SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L""));
      return 0;
    default:
      return CallWindowProcW(original, edit, message, wParam, lParam);
  }
}

}  // namespace

void MakeResultEdit(HWND edit) {
  SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);  // no limit
  SetWindowLongPtrW(edit, GWLP_USERDATA, GetWindowLongPtrW(edit, GWLP_WNDPROC));
  SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ResultEditProc));
}

}  // namespace tolvane::runtime
