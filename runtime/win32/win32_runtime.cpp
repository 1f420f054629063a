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

bool Win32Runtime::PumpMessages() {
  MSG msg;
  bool quit = false;
  while (!Ended() && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if ((quit = msg.message == WM_QUIT)) break;
    Dispatch(msg);
  }
  Random().Discard();
  return !quit;
}

void Win32Runtime::Loop() {
  // Waits until a message comes, also one that arrived while the last ones were handled.
  while (PumpMessages() && !Ended())
    MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

void Win32Runtime::Quit() {
  PostQuitMessage(ExitStatus());
}

void Win32Runtime::ShowFailure(const std::string& message) {
  MessageBoxW(nullptr, Widen(message).c_str(), Widen(Program().name).c_str(),
              MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

}  // namespace tolvane::runtime
