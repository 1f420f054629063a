#include "runtime/win32/win32_form.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "runtime/keys.h"
#include "runtime/win32/clipboard.h"
#include "runtime/win32/text.h"

namespace tolvane::runtime {
namespace {

constexpr wchar_t kWindowClass[] = L"TolvaneForm";
constexpr int kFirstControlId = 1000;
constexpr int kIconResource = 1;
constexpr int kListDropRows = 10;

int Pixels(int twips) {
  return twips / kTwipsPerPixel;
}

COLORREF ToColorRef(Colour c) {
  return RGB(RedOf(c), GreenOf(c), BlueOf(c));
}

std::int16_t ShiftState() {
  std::int16_t state = 0;
  if (GetKeyState(VK_SHIFT) < 0) state |= kShiftMask;
  if (GetKeyState(VK_CONTROL) < 0) state |= kCtrlMask;
  if (GetKeyState(VK_MENU) < 0) state |= kAltMask;
  return state;
}

// Result boxes: a double-click selects the whole password, not the word under the mouse, and
// what is copied or cut (keys or context menu) is marked as a secret for clipboard tools.
LRESULT CALLBACK ResultEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(edit, GWLP_USERDATA));
  if (message == WM_LBUTTONDBLCLK) {
    SendMessageW(edit, EM_SETSEL, 0, -1);
    return 0;
  }
  const LRESULT result = CallWindowProcW(original, edit, message, wParam, lParam);
  if (message == WM_COPY || message == WM_CUT) MarkClipboardSecret(edit);
  return result;
}

}  // namespace

Win32Form::Win32Form(HINSTANCE instance, const FormSpec& layout, FormEvents& events,
                     const bool& ended)
    : instance_(instance), port_(events, ended), backColor_(layout.backColor) {
  Build(layout);
}

Win32Form::~Win32Form() {
  if (window_) DestroyWindow(window_);
  for (auto& [colour, brush] : brushes_) DeleteObject(brush);
  if (font_) DeleteObject(font_);
  if (boldFont_) DeleteObject(boldFont_);
}

void Win32Form::Build(const FormSpec& layout) {
  icon_ = LoadIconW(instance_, MAKEINTRESOURCEW(kIconResource));
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance_;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hIcon = icon_;
  windowClass.hIconSm = icon_;
  windowClass.lpszClassName = kWindowClass;
  RegisterClassExW(&windowClass);  // fails harmlessly when a second form registers it again

  // A fixed client area: the frame is sized around it.
  // No WS_CLIPCHILDREN: the frames are see-through and show the background painted under them.
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT frame{0, 0, Pixels(layout.clientWidth), Pixels(layout.clientHeight)};
  AdjustWindowRectEx(&frame, style, FALSE, 0);
  window_ = CreateWindowExW(0, kWindowClass, Widen(layout.title).c_str(), style, CW_USEDEFAULT,
                            CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                            nullptr, nullptr, instance_, this);
  if (!window_) throw std::runtime_error("CreateWindowExW failed for the form");

  // Points to pixels at 96 dots per inch, negative for the character height.
  const int height = -MulDiv(static_cast<int>(layout.fontPoints), 96, 72);
  const std::wstring face = Widen(layout.fontName);
  font_ = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, RUSSIAN_CHARSET,
                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                      DEFAULT_PITCH | FF_DONTCARE, face.c_str());
  boldFont_ = CreateFontW(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, RUSSIAN_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                          DEFAULT_PITCH | FF_DONTCARE, face.c_str());

  slots_.resize(layout.controls.size());
  for (std::size_t slot = 0; slot < layout.controls.size(); ++slot) {
    const ControlSpec& control = layout.controls[slot];
    POINT origin{0, 0};
    if (control.container != kOnForm) {
      const ControlSpec& frame = layout.controls[control.container];
      origin = {Pixels(frame.bounds.left), Pixels(frame.bounds.top)};
    }
    slots_[slot].hwnd = Create(slot, control, origin);
  }
  Stack(layout);
}

HWND Win32Form::Create(std::size_t slot, const ControlSpec& control, POINT origin) {
  Slot& s = slots_[slot];
  s.kind = control.kind;
  s.backColor = control.backColor;
  const int id = kFirstControlId + static_cast<int>(slot);
  const wchar_t* windowClass = L"STATIC";
  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  DWORD exStyle = 0;
  int height = Pixels(control.bounds.height);
  switch (control.kind) {
    case ControlKind::Timer:
      s.timer =
          std::make_unique<Win32Timer>(window_, static_cast<UINT_PTR>(id),
                                       static_cast<unsigned>(control.intervalMs), slot, port_);
      return nullptr;
    case ControlKind::CheckBox:
      windowClass = L"BUTTON";
      style |= BS_AUTOCHECKBOX | WS_TABSTOP;
      s.focusable = true;
      break;
    case ControlKind::Frame:
      windowClass = L"BUTTON";
      style |= BS_GROUPBOX;
      break;
    case ControlKind::TextBox:
      windowClass = L"EDIT";
      style |= ES_AUTOHSCROLL | ES_LEFT | WS_TABSTOP;
      exStyle |= WS_EX_CLIENTEDGE;
      s.focusable = true;
      break;
    case ControlKind::ComboBox:
      windowClass = L"COMBOBOX";
      style |= CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
      height += kListDropRows * 16;  // a closed list takes its field's height; this is the drop
      s.focusable = true;
      break;
    case ControlKind::Label:
      // SS_NOPREFIX: '&' is drawn as it is; SS_NOTIFY: clicks are reported.
      style |= SS_NOPREFIX | SS_NOTIFY;
      style |= control.align == TextAlign::Right    ? SS_RIGHT
               : control.align == TextAlign::Centre ? SS_CENTER
                                                    : SS_LEFT;
      break;
  }
  HWND hwnd =
      CreateWindowExW(exStyle, windowClass, Widen(control.caption).c_str(), style,
                      origin.x + Pixels(control.bounds.left), origin.y + Pixels(control.bounds.top),
                      Pixels(control.bounds.width), height, window_,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
  if (!hwnd) throw std::runtime_error("CreateWindowExW failed for a control");
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(control.bold ? boldFont_ : font_), FALSE);

  switch (control.kind) {
    case ControlKind::CheckBox:
      SendMessageW(hwnd, BM_SETCHECK, control.value ? BST_CHECKED : BST_UNCHECKED, 0);
      s.checkBox = std::make_unique<Win32CheckBox>(hwnd, slot, port_, control.foreColor);
      break;
    case ControlKind::TextBox:
      SendMessageW(hwnd, EM_SETLIMITTEXT, 0, 0);  // no limit
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ResultEditProc));
      s.textBox = std::make_unique<Win32TextBox>(hwnd);
      break;
    case ControlKind::ComboBox:
      s.comboBox = std::make_unique<Win32ComboBox>(hwnd, slot, port_);
      break;
    default:
      break;
  }
  // Every caption's colour lives with the control, read back when it paints.
  SetPropW(hwnd, L"TolvaneForeColor",
           reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(control.foreColor)));
  return hwnd;
}

// Frames lie beneath everything (they would otherwise cover the controls drawn inside them);
// the other controls stack in tab order, which is also the order Tab visits them in.
void Win32Form::Stack(const FormSpec& layout) {
  std::vector<std::size_t> order;
  for (std::size_t slot = 0; slot < slots_.size(); ++slot) {
    if (slots_[slot].hwnd) order.push_back(slot);
  }
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const bool frameA = layout.controls[a].kind == ControlKind::Frame;
    const bool frameB = layout.controls[b].kind == ControlKind::Frame;
    if (frameA != frameB) return frameB;
    return layout.controls[a].tabIndex < layout.controls[b].tabIndex;
  });
  HWND above = HWND_TOP;
  for (std::size_t slot : order) {
    SetWindowPos(slots_[slot].hwnd, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    above = slots_[slot].hwnd;
    if (!firstFocus_ && slots_[slot].focusable) firstFocus_ = slots_[slot].hwnd;
  }
}

Win32Form::Slot* Win32Form::SlotOf(HWND hwnd) {
  const int id = GetDlgCtrlID(hwnd) - kFirstControlId;
  if (id < 0 || static_cast<std::size_t>(id) >= slots_.size()) return nullptr;
  Slot& s = slots_[static_cast<std::size_t>(id)];
  return s.hwnd == hwnd ? &s : nullptr;
}

HBRUSH Win32Form::Brush(Colour colour) {
  auto [it, added] = brushes_.try_emplace(colour, nullptr);
  if (added) it->second = CreateSolidBrush(ToColorRef(colour));
  return it->second;
}

LRESULT Win32Form::ColourControl(HDC dc, HWND control, bool field) {
  const Slot* s = SlotOf(control);
  Colour back = s ? s->backColor : backColor_;
  Colour fore = kBlack;
  if (s && s->checkBox) {
    fore = s->checkBox->ForeColor();
  } else if (s) {
    fore = static_cast<Colour>(reinterpret_cast<UINT_PTR>(GetPropW(control, L"TolvaneForeColor")));
  } else if (field) {
    back = RGB(224, 224, 224);  // a list's drop-down part: the lists' field colour
    for (const Slot& slot : slots_) {
      if (slot.kind == ControlKind::ComboBox) back = slot.backColor;
    }
  }
  SetTextColor(dc, ToColorRef(fore));
  SetBkColor(dc, ToColorRef(back));
  if (s && s->kind == ControlKind::Label) SetBkMode(dc, TRANSPARENT);
  return reinterpret_cast<LRESULT>(Brush(back));
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
      FillRect(reinterpret_cast<HDC>(wParam), &client, Brush(backColor_));
      return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return ColourControl(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), false);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      return ColourControl(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), true);
    case WM_COMMAND: {
      const int id = LOWORD(wParam) - kFirstControlId;
      if (id < 0 || static_cast<std::size_t>(id) >= slots_.size()) return 0;  // IDOK, IDCANCEL
      const std::size_t slot = static_cast<std::size_t>(id);
      const WORD code = HIWORD(wParam);
      const ControlKind kind = slots_[slot].kind;
      // BN_CLICKED and STN_CLICKED share the value 0: the control's kind tells them apart.
      if ((kind == ControlKind::CheckBox && code == BN_CLICKED) ||
          (kind == ControlKind::Label && code == STN_CLICKED) ||
          (kind == ControlKind::ComboBox && code == CBN_SELCHANGE)) {
        port_.Click(slot);
      }
      return 0;
    }
    case WM_TIMER: {
      const int id = static_cast<int>(wParam) - kFirstControlId;
      if (id >= 0 && static_cast<std::size_t>(id) < slots_.size() && slots_[id].timer) {
        slots_[id].timer->OnTick();
      }
      return 0;
    }
    case WM_CLOSE:
      Unload();
      return 0;
    default:
      return DefWindowProcW(window_, message, wParam, lParam);
  }
}

bool Win32Form::PreTranslate(const MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  const Slot* s = SlotOf(msg.hwnd);
  if (!s || !s->focusable) return false;
  port_.KeyDown(static_cast<std::size_t>(s - slots_.data()), static_cast<std::int16_t>(msg.wParam),
                ShiftState());
  return false;
}

CheckBox& Win32Form::CheckBoxAt(std::size_t slot) {
  return RequireKind(slots_.at(slot).checkBox, "check box");
}
ComboBox& Win32Form::ComboBoxAt(std::size_t slot) {
  return RequireKind(slots_.at(slot).comboBox, "list");
}
TextBox& Win32Form::TextBoxAt(std::size_t slot) {
  return RequireKind(slots_.at(slot).textBox, "text box");
}
Timer& Win32Form::TimerAt(std::size_t slot) {
  return RequireKind(slots_.at(slot).timer, "timer");
}

void Win32Form::Unload() {
  port_.Unload();
  Hide();
}

void Win32Form::Show() {
  ShowWindow(window_, SW_SHOWNORMAL);
  UpdateWindow(window_);
  if (firstFocus_) SetFocus(firstFocus_);
}

void Win32Form::Hide() {
  ShowWindow(window_, SW_HIDE);
}

void Win32Form::StopTimers() {
  for (Slot& s : slots_) {
    if (s.timer) s.timer->SetEnabled(false);
  }
}

}  // namespace tolvane::runtime
