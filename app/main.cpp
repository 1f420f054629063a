#include "runtime/linux/process_hardening.h"
#include "runtime/linux/single_instance.h"
#include "runtime/qt/qt_runtime.h"
#include "window/frm_main.h"

int main() {
  using namespace tolvane;
  runtime::HardenProcess();
  runtime::QtRuntime runtime(runtime::InstanceNameForUser("tolvane"), nullptr,
                             {.name = "Tolvane", .version = TOLVANE_VERSION});
  window::frmMain form(runtime);
  return form.Run();
}
