#include "runtime/windowless/windowless_runtime.h"

#include <stdexcept>
#include <utility>

#include "runtime/windowless/value_control.h"

namespace tolvane::runtime {
namespace {

class WindowlessForm final : public ToolkitForm {
 public:
  WindowlessForm(const FormLayout& layout, FormEvents& events, const bool& ended,
                 EventPort::FailHandler fail)
      : ToolkitForm(events, ended, std::move(fail)) {
    HoldControls(layout, [&](std::size_t slot) {
      return std::make_unique<ValueControl>(Port(), slot, layout.controls[slot]);
    });
  }
  void Show() override {}
  void Hide() override {}
};

}  // namespace

WindowlessRuntime::WindowlessRuntime(Services services, ProgramInfo program,
                                     std::function<void()> whenEnded)
    : ToolkitRuntime(services, program), whenEnded_(std::move(whenEnded)) {}

std::unique_ptr<ToolkitForm> WindowlessRuntime::MakeForm(const FormLayout& layout,
                                                         FormEvents& events, const bool& ended,
                                                         EventPort::FailHandler fail) {
  return std::make_unique<WindowlessForm>(layout, events, ended, std::move(fail));
}

void WindowlessRuntime::Loop() {
  throw std::logic_error("a start without a window went on past loading");
}

void WindowlessRuntime::Quit() {
  if (whenEnded_) std::exchange(whenEnded_, nullptr)();
}

}  // namespace tolvane::runtime
