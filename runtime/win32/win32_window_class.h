#pragma once

#include <windows.h>

#include <string>

#include "runtime/control_layout.h"

namespace tolvane::runtime {

// The window class and styles a control of the layout is made with.
struct WindowClassOf {
  const wchar_t* name = L"STATIC";
  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  DWORD exStyle = 0;
};

WindowClassOf ControlWindowClass(const ControlLayout& control);

// Registers the form's own window class; a second registration fails harmlessly.
void RegisterFormClass(HINSTANCE instance, const std::wstring& name, WNDPROC procedure, HICON icon);

}  // namespace tolvane::runtime
