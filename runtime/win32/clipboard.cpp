#include "runtime/win32/clipboard.h"

#include <cstring>
#include <string>
#include <vector>

namespace tolvane::runtime {
namespace {

HGLOBAL Global(const void* data, std::size_t size) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (memory == nullptr) return nullptr;
  std::memcpy(GlobalLock(memory), data, size);
  GlobalUnlock(memory);
  return memory;
}

// Hands the data to the clipboard, which owns it from then on; frees it if it refuses.
void Put(UINT format, HGLOBAL data) {
  if (data != nullptr && SetClipboardData(format, data) == nullptr) GlobalFree(data);
}

}  // namespace

bool CopySelectionAsSecret(HWND edit) {
  DWORD start = 0, end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  if (start >= end) return false;
  std::vector<wchar_t> text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1);
  GetWindowTextW(edit, text.data(), static_cast<int>(text.size()));
  if (end >= text.size()) return false;
  std::wstring selected(text.data() + start, text.data() + end);

  if (!OpenClipboard(edit)) return false;
  EmptyClipboard();
  Put(CF_UNICODETEXT, Global(selected.c_str(), (selected.size() + 1) * sizeof(wchar_t)));
  const DWORD no = 0;  // "no" for the two Can… formats; the others only need to be there
  for (const wchar_t* format :
       {L"ExcludeClipboardContentFromMonitorProcessing", L"CanIncludeInClipboardHistory",
        L"CanUploadToCloudClipboard", L"Clipboard Viewer Ignore"}) {
    Put(RegisterClipboardFormatW(format), Global(&no, sizeof no));
  }
  CloseClipboard();  // monitors and history hear of the entry once, with every format on it
  SecureZeroMemory(text.data(), text.size() * sizeof(wchar_t));
  SecureZeroMemory(selected.data(), selected.size() * sizeof(wchar_t));
  return true;
}

}  // namespace tolvane::runtime
