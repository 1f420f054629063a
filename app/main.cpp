#include <cstdio>
#include <exception>

#include "app/tolvane_info.h"
#include "runtime/qt/qt_runtime.h"
#include "runtime/system/process_hardening.h"
#include "runtime/system/single_instance.h"
#include "runtime/system/startup_notice.h"
#include "runtime/system/system_random_source.h"
#include "runtime/windowless/windowless_runtime.h"
#include "window/frm_main.h"

int main() {
  using namespace tolvane;
  try {
    // Hardening that fails is told but does not stop the program: the passwords would be at
    // risk only from a crash's core file or from the user's own processes.
    if (!system::HardenProcess()) {
      std::fprintf(stderr, "tolvane: %.*s\n", static_cast<int>(app::kHardeningFailed.size()),
                   app::kHardeningFailed.data());
    }
    system::SystemRandomSource random;
    system::SingleInstance instance("tolvane");
    // Asked before the toolkit starts, so a second start reaches no display; the window's
    // Load reads the same answer and ends it.
    if (instance.AnotherIsRunning()) {
      runtime::WindowlessRuntime runtime({random, instance}, app::kTolvane,
                                         system::CompleteStartupNotice);
      return window::frmMain(runtime).Run();
    }
    runtime::QtRuntime runtime({random, instance}, app::kTolvane);
    return window::frmMain(runtime).Run();
  } catch (const std::exception& error) {  // before the window could take events
    std::fprintf(stderr, "tolvane: %s\n", FailureMessage(app::kTolvane, error.what()).c_str());
    return 1;
  }
}
