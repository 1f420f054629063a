#pragma once
// The built tolvane.exe as a whole process under Wine, for the tests that start it.
#include <oleacc.h>
#include <windows.h>

#include <string>

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

inline void End(Process& p) {
  TerminateProcess(p.info.hProcess, 9);
  WaitForSingleObject(p.info.hProcess, 10000);
  Close(p);
}

}  // namespace tolvane
