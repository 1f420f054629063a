#include "runtime/win32/win32_runtime.h"

#include <stdexcept>

namespace tolvane::runtime {

Win32Runtime::Win32Runtime(std::wstring instanceName, RandomSource* random)
    : instance_(std::move(instanceName)), random_(random) {
  if (random_ == nullptr) {
    systemRandom_ = std::make_unique<SystemRandomSource>();
    random_ = systemRandom_.get();
  }
}

Win32Runtime::~Win32Runtime() = default;

bool Win32Runtime::PrevInstance() {
  return instance_.AnotherIsRunning();
}

void Win32Runtime::End() {
  if (ended_) return;
  ended_ = true;  // from here on no event reaches the logic
  for (auto& form : forms_) {
    form->StopTimers();
    form->Hide();
  }
  PostQuitMessage(0);
}

Form& Win32Runtime::CreateForm(const FormSpec& layout, FormEvents& events) {
  forms_.push_back(std::make_unique<Win32Form>(GetModuleHandleW(nullptr), layout, events, ended_));
  return *forms_.back();
}

Win32Form& Win32Runtime::LastForm() {
  if (forms_.empty()) throw std::logic_error("no form yet");
  return *forms_.back();
}

Win32Form& Win32Runtime::Own(Form& form) {
  for (auto& owned : forms_) {
    if (owned.get() == &form) return *owned;
  }
  throw std::logic_error("the form was not created by this runtime");
}

void Win32Runtime::Start(Form& form) {
  Win32Form& win32Form = Own(form);
  win32Form.port().Load();
  if (!ended_) win32Form.Show();
}

void Win32Runtime::Dispatch(MSG& msg) {
  for (auto& form : forms_) {
    if (form->PreTranslate(msg) || ended_) return;
    // Tab and Shift+Tab between the focusable controls.
    if (IsDialogMessageW(form->Window(), &msg)) return;
  }
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

void Win32Runtime::PumpMessages() {
  MSG msg;
  while (!ended_ && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) break;
    Dispatch(msg);
  }
  if (systemRandom_) systemRandom_->Wipe();
}

int Win32Runtime::Run(Form& form) {
  Start(form);
  MSG msg;
  while (!ended_) {
    // Whatever randomness a handler left unused is wiped before the loop waits for input.
    if (systemRandom_ && systemRandom_->BytesHeld() > 0) systemRandom_->Wipe();
    if (GetMessageW(&msg, nullptr, 0, 0) <= 0) break;
    Dispatch(msg);
  }
  return 0;
}

}  // namespace tolvane::runtime
