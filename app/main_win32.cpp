#include <windows.h>

#include "runtime/system/process_hardening.h"
#include "runtime/system/single_instance.h"
#include "runtime/system/system_random_source.h"
#include "runtime/win32/win32_runtime.h"
#include "window/frm_main.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace tolvane;
  system::HardenProcess();
  system::SystemRandomSource random;
  system::SingleInstance instance("Tolvane");
  runtime::Win32Runtime runtime({random, instance});
  window::frmMain form(runtime);
  return form.Run();
}
