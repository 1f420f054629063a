#include "runtime/win32/clipboard.h"

#include <cstring>
#include <string>

namespace tolvane::runtime {
namespace {

HGLOBAL Global(const void* data, std::size_t size) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (memory == nullptr) return nullptr;
  void* to = GlobalLock(memory);
  if (to == nullptr) {
    GlobalFree(memory);
    return nullptr;
  }
  std::memcpy(to, data, size);
  GlobalUnlock(memory);
  return memory;
}

// The text of an edit box, wiped from this process's memory when it goes.
struct WipedText {
  ~WipedText() { SecureZeroMemory(text.data(), text.size() * sizeof(wchar_t)); }
  std::wstring text;
};

// Memory that held a password is wiped before it goes back to the system.
void WipeAndFree(HGLOBAL memory) {
  if (void* bytes = GlobalLock(memory)) {
    SecureZeroMemory(bytes, GlobalSize(memory));
    GlobalUnlock(memory);
  }
  GlobalFree(memory);
}

// Hands the data to the clipboard, which owns it from then on; wipes and frees it if refused.
bool Put(UINT format, HGLOBAL data) {
  if (data == nullptr) return false;
  if (SetClipboardData(format, data) != nullptr) return true;
  WipeAndFree(data);
  return false;
}

// The marks by which clipboard history, the cloud clipboard and clipboard monitors leave an
// entry alone: "no" for the two Can… formats; the others only need to be there.
bool PutSecretMarks() {
  const DWORD no = 0;
  for (const wchar_t* name :
       {L"ExcludeClipboardContentFromMonitorProcessing", L"CanIncludeInClipboardHistory",
        L"CanUploadToCloudClipboard", L"Clipboard Viewer Ignore"}) {
    const UINT format = RegisterClipboardFormatW(name);
    if (format == 0 || !Put(format, Global(&no, sizeof no))) return false;
  }
  return true;
}

// Another program may hold the clipboard for a moment: tries for about 100 ms, as Windows
// programs do.
bool OpenClipboardSoon(HWND owner) {
  for (int attempt = 0; attempt < 10; ++attempt) {
    if (OpenClipboard(owner)) return true;
    Sleep(10);
  }
  return false;
}

}  // namespace

bool CopySelectionAsSecret(HWND edit) {
  DWORD start = 0, end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  if (start >= end) return false;
  WipedText text{std::wstring(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0')};
  GetWindowTextW(edit, text.text.data(), static_cast<int>(text.text.size()));
  if (end >= text.text.size()) return false;
  const WipedText selected{text.text.substr(start, end - start)};

  // Made before the clipboard is touched: without it, what the clipboard holds stays.
  HGLOBAL copy = Global(selected.text.c_str(), (selected.text.size() + 1) * sizeof(wchar_t));
  if (copy == nullptr) return false;
  if (!OpenClipboardSoon(edit)) {
    WipeAndFree(copy);
    return false;
  }
  // The text counts as copied only with every mark on it; otherwise the clipboard is left
  // empty, not holding the password unmarked.
  const bool marked = EmptyClipboard() && PutSecretMarks();
  const bool copied = marked && Put(CF_UNICODETEXT, copy);  // a refused text is wiped there
  if (!marked) WipeAndFree(copy);
  if (!copied) EmptyClipboard();
  CloseClipboard();  // monitors and history hear of the entry once, with every format on it
  return copied;
}

}  // namespace tolvane::runtime
