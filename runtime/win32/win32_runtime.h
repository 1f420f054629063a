#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "runtime/program_info.h"
#include "runtime/runtime.h"
#include "runtime/win32/single_instance.h"
#include "runtime/win32/system_random_source.h"
#include "runtime/win32/win32_form.h"

namespace tolvane::runtime {

// The runtime on the plain wide-character Win32 API.
class Win32Runtime final : public Runtime {
 public:
  // random: null for the system's cryptographic source.
  explicit Win32Runtime(std::wstring instanceName, RandomSource* random = nullptr);
  ~Win32Runtime() override;

  bool PrevInstance() override;
  RandomSource& Random() override { return *random_; }
  void End() override;
  Form& CreateForm(const FormSpec& layout, FormEvents& events) override;
  int Run(Form& form) override;

  // Raises Load and shows the window unless the process ended; Run then runs the loop.
  void Start(Form& form);
  // Handles every message already queued, as the loop would; for tests.
  void PumpMessages();
  bool Ended() const { return ended_; }
  Win32Form& LastForm();
  const SystemRandomSource* SystemRandom() const { return systemRandom_.get(); }

 private:
  Win32Form& Own(Form& form);
  void Dispatch(MSG& msg);

  SingleInstance instance_;
  std::unique_ptr<SystemRandomSource> systemRandom_;
  RandomSource* random_;
  std::vector<std::unique_ptr<Win32Form>> forms_;
  bool ended_ = false;
};

}  // namespace tolvane::runtime
