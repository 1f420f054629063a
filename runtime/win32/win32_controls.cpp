#include "runtime/win32/win32_controls.h"

#include <cmath>
#include <vector>

#include "runtime/win32/text.h"

namespace tolvane::runtime {

std::int16_t Win32CheckBox::Value() const {
  return SendMessageW(box_, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void Win32CheckBox::SetValue(std::int16_t value) {
  const std::int16_t wanted = CheckValue(value);
  if (wanted == Value()) return;
  // BM_SETCHECK notifies nobody: the Click is ours to raise.
  SendMessageW(box_, BM_SETCHECK, wanted ? BST_CHECKED : BST_UNCHECKED, 0);
  port_.Click(slot_);
}

void Win32CheckBox::SetForeColor(Color color) {
  foreColor_ = color;
  InvalidateRect(box_, nullptr, TRUE);  // the caption is drawn in WM_CTLCOLORSTATIC's color
  // Heard as well as seen.
  annotations_.SetCheckBoxNote(box_, Widen(CaptionColourNote(layout_, slot_, color)),
                               Widen(LabelCaption(layout_, slot_)));
}

void Win32ComboBox::AddItem(std::string_view text) {
  const std::wstring wide = Widen(text);
  SendMessageW(list_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

int Win32ComboBox::ListCount() const {
  return static_cast<int>(SendMessageW(list_, CB_GETCOUNT, 0, 0));
}

int Win32ComboBox::ListIndex() const {
  return static_cast<int>(SendMessageW(list_, CB_GETCURSEL, 0, 0));  // CB_ERR is -1
}

void Win32ComboBox::SetListIndex(int index) {
  if (!IsListIndex(index, ListCount())) return;
  SendMessageW(list_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  port_.Click(slot_);
}

std::string Win32TextBox::Text() const {
  const int length = GetWindowTextLengthW(edit_);
  std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
  GetWindowTextW(edit_, buffer.data(), length + 1);
  return Narrow(std::wstring_view(buffer.data(), static_cast<std::size_t>(length)));
}

void Win32TextBox::SetText(std::string_view utf8) {
  SetWindowTextW(edit_, Widen(utf8).c_str());
}

double Win32Timer::ElapsedMs() const {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart - started_.QuadPart) * 1000.0 /
         static_cast<double>(frequency.QuadPart);
}

void Win32Timer::Arm(unsigned ms) {
  SetTimer(owner_, id_, ms == 0 ? 1 : ms, nullptr);
}

void Win32Timer::SetEnabled(bool enabled) {
  if (!enabled) {
    KillTimer(owner_, id_);
    enabled_ = false;
  } else if (!enabled_) {
    QueryPerformanceCounter(&started_);
    Arm(intervalMs_);
    enabled_ = true;
  }
}

void Win32Timer::OnTick() {
  if (!enabled_) return;  // a tick already queued when the timer stopped
  const double elapsed = ElapsedMs();
  if (elapsed < intervalMs_) {
    Arm(static_cast<unsigned>(std::ceil(intervalMs_ - elapsed)));
    return;
  }
  QueryPerformanceCounter(&started_);  // the next interval runs from now
  Arm(intervalMs_);
  port_.TimerTick(slot_);
}

}  // namespace tolvane::runtime
