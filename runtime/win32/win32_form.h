#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "runtime/control_layout.h"
#include "runtime/toolkit_runtime.h"
#include "runtime/win32/annotations.h"
#include "runtime/win32/win32_brushes.h"
#include "runtime/win32/win32_colors.h"
#include "runtime/win32/win32_controls.h"
#include "runtime/win32/win32_focus.h"

namespace tolvane::runtime {

// A control's identifier is its slot from here on; not 1000 and 1001, which a combo box gives
// its own list and edit field. The window's user data is its form.
inline constexpr int kFirstControlId = 100;

// A window and its controls built from a layout with the plain Win32 API. Every control is a
// child of the window itself, placed at its position in the client area through however many
// frames hold it, and stacked as the layout says; Tab follows the layout's tab order.
class Win32Form final : public ToolkitForm {
 public:
  // windowClass: the name the window's class is registered under.
  Win32Form(HINSTANCE instance, std::wstring windowClass, const FormLayout& layout,
            FormEvents& events, const bool& ended, EventPort::FailHandler fail);
  ~Win32Form() override;

  void Show() override;
  void Hide() override;
  // Offered every message before it is dispatched: reports key presses in focusable
  // controls as KeyDown and moves the focus on Tab. True when the message must go no
  // further.
  bool PreTranslate(const MSG& msg);

 private:
  struct Slot {
    HWND hwnd = nullptr;
    TwipRect inClient;
    bool bold = false;
    ControlKind kind = ControlKind::Label;
    Color backColor = 0;
    Color foreColor = 0;
    Win32Timer* timer = nullptr;
  };

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCommand(int id, WORD code);
  void Build(const FormLayout& layout);
  HWND Create(std::size_t slot, const FormLayout& layout);
  void Attach(std::size_t slot, const FormLayout& layout, HWND hwnd);
  void PlaceFor(int dpi);
  // Sizes the window around the client area, at the suggested place if there is one.
  void FitFrame(const RECT* suggested);
  void Destroy();
  // The slot a control identifier stands for, if it is one of this form's.
  std::optional<std::size_t> SlotOfId(int id) const;
  Slot* SlotOf(HWND hwnd);
  LRESULT ColorControl(HDC dc, HWND control, bool field);
  void NoteFocus();

  HINSTANCE instance_;
  std::wstring windowClass_;
  Annotations annotations_;
  HWND window_ = nullptr;
  HFONT font_ = nullptr;
  HFONT boldFont_ = nullptr;
  HICON icon_ = nullptr;
  TwipRect client_;
  std::wstring fontName_;
  double fontPoints_ = 0;
  int dpi_ = 96;
  Color backColor_ = 0;
  bool highContrast_ = HighContrastOn();  // the system's colours instead of the designed ones
  std::vector<Slot> slots_;
  TabRing tabRing_;
  Brushes brushes_;
};

}  // namespace tolvane::runtime
