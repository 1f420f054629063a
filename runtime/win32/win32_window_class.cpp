#include "runtime/win32/win32_window_class.h"

namespace tolvane::runtime {

WindowClassOf ControlWindowClass(const ControlLayout& control) {
  WindowClassOf k;
  switch (control.kind) {
    case ControlKind::CheckBox:
      k.name = L"BUTTON";
      k.style |= BS_AUTOCHECKBOX | WS_TABSTOP;
      break;
    case ControlKind::Frame:
      k.name = L"BUTTON";
      k.style |= BS_GROUPBOX;
      break;
    case ControlKind::TextBox:
      k.name = L"EDIT";
      k.style |= ES_AUTOHSCROLL | ES_LEFT | WS_TABSTOP;
      k.exStyle |= WS_EX_CLIENTEDGE;
      break;
    case ControlKind::ComboBox:
      k.name = L"COMBOBOX";
      k.style |= CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
      break;
    case ControlKind::Label:
      // SS_NOPREFIX: '&' is drawn as it is; SS_NOTIFY: clicks are reported.
      k.style |= SS_NOPREFIX | SS_NOTIFY;
      k.style |= control.align == TextAlign::Right    ? SS_RIGHT
                 : control.align == TextAlign::Centre ? SS_CENTER
                                                      : SS_LEFT;
      break;
    case ControlKind::Timer:
      break;
  }
  return k;
}

void RegisterFormClass(HINSTANCE instance, const std::wstring& name, WNDPROC procedure,
                       HICON icon) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hIcon = icon;
  windowClass.hIconSm = icon;
  windowClass.lpszClassName = name.c_str();
  RegisterClassExW(&windowClass);
}

}  // namespace tolvane::runtime
