#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <vector>

#include "runtime/control_spec.h"
#include "runtime/event_port.h"
#include "runtime/form.h"
#include "runtime/win32/win32_controls.h"

namespace tolvane::runtime {

// A window and its controls built from a layout with the plain Win32 API. All controls are
// children of the window itself, a frame's at the frame's position plus their own.
class Win32Form final : public Form {
 public:
  Win32Form(HINSTANCE instance, const FormSpec& layout, FormEvents& events, const bool& ended);
  ~Win32Form() override;

  CheckBox& CheckBoxAt(std::size_t slot) override;
  ComboBox& ComboBoxAt(std::size_t slot) override;
  TextBox& TextBoxAt(std::size_t slot) override;
  Timer& TimerAt(std::size_t slot) override;
  void Unload() override;

  EventPort& port() { return port_; }
  void Show();
  void Hide();
  void StopTimers();
  HWND Window() const { return window_; }
  HWND ControlAt(std::size_t slot) const { return slots_.at(slot).hwnd; }
  // Offered every message before it is dispatched: reports key presses in focusable
  // controls as KeyDown. True when the message must go no further.
  bool PreTranslate(const MSG& msg);

 private:
  struct Slot {
    HWND hwnd = nullptr;
    ControlKind kind = ControlKind::Label;
    Colour backColor = 0;
    bool focusable = false;
    std::unique_ptr<CheckBox> checkBox;
    std::unique_ptr<ComboBox> comboBox;
    std::unique_ptr<TextBox> textBox;
    std::unique_ptr<Win32Timer> timer;
  };

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Build(const FormSpec& layout);
  HWND Create(std::size_t slot, const ControlSpec& control, POINT origin);
  void Stack(const FormSpec& layout);
  Slot* SlotOf(HWND hwnd);
  HBRUSH Brush(Colour colour);
  LRESULT ColourControl(HDC dc, HWND control, bool field);

  HINSTANCE instance_;
  EventPort port_;
  HWND window_ = nullptr;
  HFONT font_ = nullptr;
  HFONT boldFont_ = nullptr;
  HICON icon_ = nullptr;
  Colour backColor_ = 0;
  std::vector<Slot> slots_;
  std::map<Colour, HBRUSH> brushes_;
  HWND firstFocus_ = nullptr;
};

}  // namespace tolvane::runtime
