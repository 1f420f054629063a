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

// Hands the data to the clipboard, which owns it from then on; frees it if it refuses.
void Put(UINT format, HGLOBAL data) {
  if (data != nullptr && SetClipboardData(format, data) == nullptr) WipeAndFree(data);
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
  EmptyClipboard();
  if (SetClipboardData(CF_UNICODETEXT, copy) == nullptr) {
    WipeAndFree(copy);
    CloseClipboard();
    return false;
  }
  const DWORD no = 0;  // "no" for the two Can… formats; the others only need to be there
  for (const wchar_t* format :
       {L"ExcludeClipboardContentFromMonitorProcessing", L"CanIncludeInClipboardHistory",
        L"CanUploadToCloudClipboard", L"Clipboard Viewer Ignore"}) {
    Put(RegisterClipboardFormatW(format), Global(&no, sizeof no));
  }
  CloseClipboard();  // monitors and history hear of the entry once, with every format on it
  return true;
}

}  // namespace tolvane::runtime
