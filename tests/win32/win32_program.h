#pragma once
// The built tolvane.exe as a whole process under Wine, for the tests that start it.
#include <oleacc.h>
#include <windows.h>

#include <string>
#include <vector>

namespace tolvane {

// The build hands over a Unix path; Wine shows the Unix root as drive Z:.
inline std::wstring ProgramPath() {
  std::wstring path = L"Z:";
  for (const char* c = TOLVANE_PROGRAM; *c; ++c)
    path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
  return path;
}

struct Process {
  PROCESS_INFORMATION info{};
  bool started = false;
};

inline Process Start() {
  Process p;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  std::wstring commandLine = L"\"" + ProgramPath() + L"\"";
  p.started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             nullptr, &startup, &p.info);
  return p;
}

inline void Close(Process& p) {
  if (!p.started) return;
  CloseHandle(p.info.hThread);
  CloseHandle(p.info.hProcess);
  p.started = false;
}

// IID_IAccessible spelled out: with the definition from mingw-w64's libraries Wine refused
// the request.
inline constexpr IID kAccessible = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

inline HWND WaitForWindow() {
  HWND window = nullptr;
  for (int i = 0; i < 200 && !(window && IsWindowVisible(window)); ++i) {
    Sleep(50);
    window = FindWindowW(L"TolvaneForm", L"Tolvane");
  }
  return window;
}

struct Control {
  HWND window;
  std::wstring kind;  // the window class: Button, ComboBox, Edit, Static
};

// The window's controls, in the order the system lists them.
inline std::vector<Control> Controls(HWND window) {
  std::vector<Control> found;
  EnumChildWindows(
      window,
      [](HWND child, LPARAM list) {
        wchar_t kind[32] = {};
        GetClassNameW(child, kind, 32);
        reinterpret_cast<std::vector<Control>*>(list)->push_back({child, kind});
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

inline void End(Process& p) {
  TerminateProcess(p.info.hProcess, 9);
  WaitForSingleObject(p.info.hProcess, 10000);
  Close(p);
}

}  // namespace tolvane
