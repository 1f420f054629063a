#include "runtime/qt/qt_runtime.h"
#include "window/frm_main.h"

int main() {
  tolvane::runtime::QtRuntime runtime;
  tolvane::window::frmMain form(runtime);
  return form.Run();
}
