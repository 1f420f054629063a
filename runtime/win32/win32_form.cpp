#include "runtime/win32/win32_form.h"

#include <cmath>
#include <stdexcept>
#include <string>

#include "runtime/win32/text.h"
#include "runtime/win32/win32_dpi.h"
#include "runtime/win32/win32_result_edit.h"
#include "runtime/win32/win32_window_class.h"

namespace tolvane::runtime {
namespace {

constexpr int kIconResource = 1;
constexpr int kListDropRows = 10;
constexpr int kListRowPixels = 16;  // an entry of an open list, at 96 dpi
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

}  // namespace

Win32Form::Win32Form(HINSTANCE instance, std::wstring windowClass, const FormLayout& layout,
                     FormEvents& events, const bool& ended, EventPort::FailHandler fail)
    : ToolkitForm(events, ended, std::move(fail)),
      instance_(instance),
      windowClass_(std::move(windowClass)),
      backColor_(layout.backColor) {
  try {
    Build(layout);
  } catch (...) {
    Destroy();  // the window holds a pointer to this half-built form: it must not outlive it
    throw;
  }
}

Win32Form::~Win32Form() {
  Destroy();
}

void Win32Form::Destroy() {
  if (window_) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
    window_ = nullptr;
  }
  brushes_.Clear();
  if (font_) DeleteObject(font_);
  if (boldFont_) DeleteObject(boldFont_);
  font_ = boldFont_ = nullptr;
}

void Win32Form::Build(const FormLayout& layout) {
  icon_ = LoadIconW(instance_, MAKEINTRESOURCEW(kIconResource));
  RegisterFormClass(instance_, windowClass_, WindowProc, icon_);

  // The client area is fixed; the frame is sized around it. Everything is placed again when
  // the window learns its monitor's DPI, and whenever that changes.
  // No WS_CLIPCHILDREN: the frames are see-through and show the background painted under them.
  window_ = CreateWindowExW(0, windowClass_.c_str(), Widen(layout.title).c_str(), kFormStyle,
                            CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance_, this);
  if (!window_) throw std::runtime_error("CreateWindowExW failed for the form");
  client_ = {0, 0, layout.clientWidth, layout.clientHeight};
  fontName_ = Widen(layout.fontName);
  fontPoints_ = layout.fontPoints;

  slots_.resize(layout.controls.size());
  controls_.resize(layout.controls.size());
  for (std::size_t slot = 0; slot < layout.controls.size(); ++slot) {
    slots_[slot].inClient = InClientArea(layout, slot);
    slots_[slot].bold = layout.controls[slot].bold;
    slots_[slot].hwnd = Create(slot, layout);
  }
  // What a screen reader would otherwise take from the text shown: a list's entry, a
  // password.
  for (std::size_t slot = 0; slot < layout.controls.size(); ++slot) {
    const ControlLayout& control = layout.controls[slot];
    if (!control.accessibleName.empty()) {
      annotations_.SetName(slots_[slot].hwnd, Widen(control.accessibleName));
    }
    if (control.describedBy != kNoControl) {
      annotations_.SetDescription(slots_[slot].hwnd,
                                  Widen(layout.controls[control.describedBy].caption));
    }
  }
  PlaceFor(WindowDpi(window_));
  FitFrame(nullptr);
  HWND above = HWND_TOP;
  for (std::size_t slot : StackingOrder(layout)) {
    SetWindowPos(slots_[slot].hwnd, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    above = slots_[slot].hwnd;
  }
  for (std::size_t slot : TabOrder(layout)) tabRing_.Add(slots_[slot].hwnd);
}

HWND Win32Form::Create(std::size_t slot, const FormLayout& layout) {
  const ControlLayout& control = layout.controls[slot];
  Slot& s = slots_[slot];
  s.kind = control.kind;
  s.backColor = control.backColor;
  s.foreColor = control.foreColor;
  const int id = kFirstControlId + static_cast<int>(slot);
  if (control.kind == ControlKind::Timer) {
    auto timer =
        std::make_unique<Win32Timer>(window_, static_cast<UINT_PTR>(id),
                                     static_cast<unsigned>(control.intervalMs), slot, Port());
    s.timer = timer.get();
    controls_[slot].timer = std::move(timer);
    return nullptr;
  }
  const WindowClassOf kind = ControlWindowClass(control);
  HWND hwnd = CreateWindowExW(
      kind.exStyle, kind.name, Widen(control.caption).c_str(), kind.style, 0, 0, 0, 0, window_,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
  if (!hwnd) throw std::runtime_error("CreateWindowExW failed for a control");
  Attach(slot, layout, hwnd);
  return hwnd;
}

// The contract's control for the window made for a slot, as its kind has one.
void Win32Form::Attach(std::size_t slot, const FormLayout& layout, HWND hwnd) {
  const ControlLayout& control = layout.controls[slot];
  SlotControls& c = controls_[slot];
  switch (control.kind) {
    case ControlKind::CheckBox:
      SendMessageW(hwnd, BM_SETCHECK, control.value ? BST_CHECKED : BST_UNCHECKED, 0);
      c.checkBox = std::make_unique<Win32CheckBox>(hwnd, slot, Port(), layout, annotations_);
      annotations_.SetCheckBoxNote(hwnd, {}, Widen(LabelCaption(layout, slot)));
      break;
    case ControlKind::TextBox:
      MakeResultEdit(hwnd);
      c.textBox = std::make_unique<Win32TextBox>(hwnd);
      break;
    case ControlKind::ComboBox:
      c.comboBox = std::make_unique<Win32ComboBox>(hwnd, slot, Port());
      break;
    default:
      break;
  }
}

std::optional<std::size_t> Win32Form::SlotOfId(int id) const {
  const int slot = id - kFirstControlId;
  if (slot < 0 || static_cast<std::size_t>(slot) >= slots_.size()) return std::nullopt;
  return static_cast<std::size_t>(slot);
}

Win32Form::Slot* Win32Form::SlotOf(HWND hwnd) {
  const std::optional<std::size_t> slot = SlotOfId(GetDlgCtrlID(hwnd));
  if (!slot) return nullptr;
  Slot& s = slots_[*slot];
  return s.hwnd == hwnd ? &s : nullptr;
}

// Twips are physical: every rectangle and the fonts follow the DPI, the window keeps its
// place and is sized around the client area.
void Win32Form::PlaceFor(int dpi) {
  dpi_ = dpi;
  const auto font = [&](int weight) {
    return CreateFontW(-static_cast<int>(std::lround(fontPoints_ * dpi / 72)), 0, 0, 0, weight,
                       FALSE, FALSE, FALSE, RUSSIAN_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                       fontName_.c_str());
  };
  const HFONT oldFont = font_, oldBold = boldFont_;
  font_ = font(FW_NORMAL);
  boldFont_ = font(FW_BOLD);
  for (const Slot& s : slots_) {
    if (s.hwnd == nullptr) continue;
    int height = ToPixels(s.inClient.height, dpi);
    // A closed list is as tall as its font makes it; the height given is that of the drop.
    if (s.kind == ControlKind::ComboBox)
      height += FromDesignPixels(kListDropRows * kListRowPixels, dpi);
    SetWindowPos(s.hwnd, nullptr, ToPixels(s.inClient.left, dpi), ToPixels(s.inClient.top, dpi),
                 ToPixels(s.inClient.width, dpi), height, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(s.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(s.bold ? boldFont_ : font_), TRUE);
  }
  if (oldFont) DeleteObject(oldFont);
  if (oldBold) DeleteObject(oldBold);
}

void Win32Form::FitFrame(const RECT* suggested) {
  RECT frame{0, 0, ToPixels(client_.width, dpi_), ToPixels(client_.height, dpi_)};
  AdjustFrame(frame, kFormStyle, dpi_);
  RECT at;
  GetWindowRect(window_, &at);
  if (suggested != nullptr) at = *suggested;
  int width = frame.right - frame.left, height = frame.bottom - frame.top;
  SetWindowPos(window_, nullptr, at.left, at.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  // Where the frame drawn differs from the one computed, the client area still gets its size.
  RECT client;
  GetClientRect(window_, &client);
  width += ToPixels(client_.width, dpi_) - client.right;
  height += ToPixels(client_.height, dpi_) - client.bottom;
  SetWindowPos(window_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT Win32Form::ColorControl(HDC dc, HWND control, bool field) {
  const Slot* s = SlotOf(control);
  Color back = s ? s->backColor : backColor_;
  Color fore = kBlack;
  if (s && s->kind == ControlKind::CheckBox) {
    fore = controls_[static_cast<std::size_t>(s - slots_.data())].checkBox->ForeColor();
  } else if (s) {
    fore = s->foreColor;
  } else if (field) {
    // A list's drop-down part: the colour of the list it belongs to.
    for (const Slot& slot : slots_) {
      COMBOBOXINFO info{};
      info.cbSize = sizeof info;
      if (slot.kind == ControlKind::ComboBox && GetComboBoxInfo(slot.hwnd, &info) &&
          info.hwndList == control) {
        back = slot.backColor;
      }
    }
  }
  const DrawnColors drawn = ColorsOf(back, fore, field, highContrast_);
  SetTextColor(dc, ToColorRef(drawn.fore));
  SetBkColor(dc, ToColorRef(drawn.back));
  if (s && s->kind == ControlKind::Label) SetBkMode(dc, TRANSPARENT);
  return reinterpret_cast<LRESULT>(brushes_.Of(drawn.back));
}

LRESULT CALLBACK Win32Form::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* form = reinterpret_cast<Win32Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (form && form->window_ == hwnd) return form->Handle(message, wParam, lParam);
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT Win32Form::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(window_, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client,
               brushes_.Of(ColorsOf(backColor_, kBlack, false, highContrast_).back));
      return 1;
    }
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:  // high contrast turned on or off, or its colours changed
      highContrast_ = HighContrastOn();
      RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return ColorControl(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), false);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      return ColorControl(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), true);
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_TIMER: {
      const std::optional<std::size_t> slot = SlotOfId(static_cast<int>(wParam));
      if (slot && slots_[*slot].timer) slots_[*slot].timer->OnTick();
      return 0;
    }
    case WM_DPICHANGED:  // moved to a monitor of another DPI, or its scale changed
      PlaceFor(HIWORD(wParam));
      FitFrame(reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_ACTIVATE:
      // The window hands the focus back to the control that had it when the user switched
      // away or minimised, as a dialog does, so keys keep reaching a control.
      NoteFocus();
      if (LOWORD(wParam) != WA_INACTIVE && HIWORD(wParam) == 0) tabRing_.Restore();
      return 0;
    case WM_SETFOCUS:  // the window itself, after a restore: on to the control
      tabRing_.Restore();
      return 0;
    case WM_CLOSE:
      Unload();
      return 0;
    default:
      return DefWindowProcW(window_, message, wParam, lParam);
  }
}

// A control's notice: the ones that are a click raise Click.
void Win32Form::OnCommand(int id, WORD code) {
  const std::optional<std::size_t> slot = SlotOfId(id);
  if (!slot) return;  // IDOK, IDCANCEL
  const ControlKind kind = slots_[*slot].kind;
  // BN_CLICKED and STN_CLICKED share the value 0: the control's kind tells them apart.
  if ((kind == ControlKind::CheckBox && code == BN_CLICKED) ||
      (kind == ControlKind::Label && code == STN_CLICKED) ||
      (kind == ControlKind::ComboBox && code == CBN_SELCHANGE)) {
    Port().Click(*slot);
  }
}

void Win32Form::NoteFocus() {
  const HWND focus = GetFocus();
  const Slot* s = focus ? SlotOf(focus) : nullptr;
  if (s && TakesFocus(s->kind)) tabRing_.Note(focus);
}

bool Win32Form::PreTranslate(const MSG& msg) {
  NoteFocus();
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  const Slot* s = SlotOf(msg.hwnd);
  if (!s || !TakesFocus(s->kind)) return false;
  // A dropped-down list has the keys to itself: Esc closes it and nothing else, as on Linux.
  if (s->kind == ControlKind::ComboBox && SendMessageW(msg.hwnd, CB_GETDROPPEDSTATE, 0, 0)) {
    return false;
  }
  Port().KeyDown(static_cast<std::size_t>(s - slots_.data()), static_cast<std::int16_t>(msg.wParam),
                 ShiftState());
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && IsWindow(msg.hwnd)) {
    tabRing_.Move(window_, msg.hwnd, GetKeyState(VK_SHIFT) < 0);
    return true;
  }
  return false;
}

void Win32Form::Show() {
  ShowWindow(window_, SW_SHOWNORMAL);
  UpdateWindow(window_);
  tabRing_.Forget();
  tabRing_.Restore();  // the first control in tab order
}

void Win32Form::Hide() {
  ShowWindow(window_, SW_HIDE);
}

}  // namespace tolvane::runtime
