#pragma once

#include <windows.h>

#include <memory>

#include "runtime/toolkit_runtime.h"
#include "runtime/win32/win32_form.h"

namespace tolvane::runtime {

// The runtime on the plain wide-character Win32 API.
class Win32Runtime : public ToolkitRuntime {
 public:
  explicit Win32Runtime(Services services, ProgramInfo program = {})
      : ToolkitRuntime(services, program) {}

  // Handles every message already queued, then discards whatever randomness a handler left
  // unused: the loop does this before each wait. False once the thread is told to quit.
  bool PumpMessages();

 protected:
  std::unique_ptr<ToolkitForm> MakeForm(const FormLayout& layout, FormEvents& events,
                                        const bool& ended, EventPort::FailHandler fail) override;
  void Loop() override;
  void Quit() override;
  void ShowFailure(const std::string& message) override;

 private:
  void Dispatch(MSG& msg);
};

}  // namespace tolvane::runtime
