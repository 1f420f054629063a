#pragma once

#include <functional>
#include <memory>
#include <string>

#include "runtime/toolkit_runtime.h"

namespace tolvane::runtime {

// The runtime of a start that shows no window, such as a second instance, which knows it is
// one before any toolkit starts: it connects to no display and loads no toolkit. The controls
// hold their values and raise the contract's events; timers never tick. There is no event
// loop, so logic that leaves the window to be shown is a programming error (std::logic_error).
class WindowlessRuntime final : public ToolkitRuntime {
 public:
  // whenEnded runs once, when the logic ends the process.
  WindowlessRuntime(Services services, ProgramInfo program, std::function<void()> whenEnded);

 protected:
  std::unique_ptr<ToolkitForm> MakeForm(const FormLayout& layout, FormEvents& events,
                                        const bool& ended, EventPort::FailHandler fail) override;
  void Loop() override;
  void Quit() override;
  void ShowFailure(const std::string&) override {}  // no screen: standard error has it

 private:
  std::function<void()> whenEnded_;
};

}  // namespace tolvane::runtime
