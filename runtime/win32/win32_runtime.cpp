#include "runtime/win32/win32_runtime.h"

#include "runtime/win32/text.h"

namespace tolvane::runtime {

std::unique_ptr<ToolkitForm> Win32Runtime::MakeForm(const FormLayout& layout, FormEvents& events,
                                                    const bool& ended,
                                                    EventPort::FailHandler fail) {
  return std::make_unique<Win32Form>(GetModuleHandleW(nullptr), Widen(Program().name) + L"Form",
                                     layout, events, ended, std::move(fail));
}

void Win32Runtime::Dispatch(MSG& msg) {
  for (const auto& form : Forms()) {
    if (static_cast<Win32Form&>(*form).PreTranslate(msg) || Ended()) return;
  }
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

void Win32Runtime::PumpMessages() {
  MSG msg;
  while (!Ended() && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) break;
    Dispatch(msg);
  }
  Random().Discard();
}

void Win32Runtime::Loop() {
  MSG msg;
  while (!Ended()) {
    // Whatever randomness a handler left unused is discarded before the loop waits for input.
    Random().Discard();
    if (GetMessageW(&msg, nullptr, 0, 0) <= 0) break;
    Dispatch(msg);
  }
}

void Win32Runtime::Quit() {
  PostQuitMessage(ExitStatus());
}

void Win32Runtime::ShowFailure(const std::string& message) {
  MessageBoxW(nullptr, Widen(message).c_str(), Widen(Program().name).c_str(),
              MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

}  // namespace tolvane::runtime
