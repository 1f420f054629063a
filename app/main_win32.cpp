#include <windows.h>

#include <exception>

#include "app/tolvane_info.h"
#include "runtime/system/process_hardening.h"
#include "runtime/system/single_instance.h"
#include "runtime/system/startup_notice.h"
#include "runtime/system/system_random_source.h"
#include "runtime/win32/text.h"
#include "runtime/win32/win32_runtime.h"
#include "runtime/windowless/windowless_runtime.h"
#include "window/frm_main.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace tolvane;
  try {
    system::HardenProcess();
    system::SystemRandomSource random;
    system::SingleInstance instance("Tolvane");
    // Asked before any window class is registered; the window's Load reads the same answer.
    if (instance.AnotherIsRunning()) {
      runtime::WindowlessRuntime runtime({random, instance}, app::kTolvane,
                                         system::CompleteStartupNotice);
      return window::frmMain(runtime).Run();
    }
    runtime::Win32Runtime runtime({random, instance}, app::kTolvane);
    return window::frmMain(runtime).Run();
  } catch (const std::exception& error) {  // before the window could take events
    const std::wstring message = runtime::Widen(FailureMessage(app::kTolvane, error.what()));
    MessageBoxW(nullptr, message.c_str(), runtime::Widen(app::kTolvane.name).c_str(),
                MB_OK | MB_ICONERROR | MB_TASKMODAL);
    return 1;
  }
}
