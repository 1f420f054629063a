// A whole refresh on the Qt runtime (offscreen), as F5 asks for it: ten passwords drawn and
// written into the ten result boxes.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>

#include "driven_runtime.h"
#include "runtime/keys.h"
#include "runtime/qt/qt_runtime.h"
#include "runtime/system/system_random_source.h"
#include "window/frm_main.h"
#include "window/frm_main_layout.h"

namespace tolvane {
namespace {

struct NoOtherInstance final : runtime::InstanceCheck {
  bool AnotherIsRunning() override { return false; }
};

void RefreshOnQt(benchmark::State& state, bool worstCase) {
  system::SystemRandomSource random;
  NoOtherInstance instance;
  testing::Driven<runtime::QtRuntime> runtime({random, instance});
  window::frmMain form(runtime);
  runtime.Start(runtime.LastForm());
  if (worstCase) {  // digits only, both bounds 50
    for (runtime::CheckBox* box : {&form.chB, &form.chC, &form.chD}) box->SetValue(0);
    form.cmbSizeA.SetListIndex(0);
    form.cmbSizeB.SetListIndex(0);
  }
  runtime::EventPort& port = runtime.LastForm().Port();
  for (auto _ : state) port.KeyDown(window::ctl::cmbSizeA, runtime::kKeyF5, 0);  // F5 refreshes
}

BENCHMARK_CAPTURE(RefreshOnQt, defaults, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(RefreshOnQt, digits_only_50, true)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tolvane

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
