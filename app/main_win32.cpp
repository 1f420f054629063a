#include <windows.h>

#include "runtime/win32/process_hardening.h"
#include "runtime/win32/win32_runtime.h"
#include "window/frm_main.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace tolvane;
  runtime::HardenProcess();
  runtime::Win32Runtime runtime(runtime::InstanceNameForSession(L"Tolvane"));
  window::frmMain form(runtime);
  return form.Run();
}
