// The runtime harness on Win32: the messages the system sends for the user's clicks and keys,
// run through the runtime's own message loop.
#include <windows.h>

#include <utility>
#include <vector>

#include "runtime/win32/text.h"
#include "runtime_harness.h"
#include "win32_driven_runtime.h"

namespace tolvane::testing {
namespace {

std::string messageText;  // what the last message box said
UINT_PTR reader = 0;      // the timer that reads it
const std::function<void()>* duringMessage = nullptr;
UINT_PTR sentinel = 0;  // the timer that ends a Settle

class Win32Harness final : public RuntimeHarness {
 public:
  explicit Win32Harness(runtime::Services services) : runtime_(services, kTestProgram) {}
  ~Win32Harness() override {
    MSG msg;  // a quit message End posted must not reach the next test
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }

  runtime::ToolkitRuntime& Runtime() override { return runtime_; }
  void StartLastForm() override { runtime_.Start(runtime_.LastForm()); }
  bool WaitFor(const std::function<bool()>& done, int ms) override {
    const ULONGLONG until = GetTickCount64() + static_cast<ULONGLONG>(ms);
    runtime_.PumpMessages();
    while (!done() && GetTickCount64() < until) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
      runtime_.PumpMessages();
    }
    return done();
  }
  // WM_TIMER comes only when nothing else is queued, and due timers in the order of their due
  // times: once the sentinel fires, whatever came before it has been handled. The harness
  // pumps itself, since an ended runtime's loop no longer does, so what the windows would
  // still receive is delivered and the runtime's own gate is what is tested.
  bool Settle(int ms) override {
    sentinel = SetTimer(nullptr, 0, static_cast<UINT>(ms), [](HWND, UINT, UINT_PTR, DWORD) {
      KillTimer(nullptr, std::exchange(sentinel, 0));
    });
    const ULONGLONG until = GetTickCount64() + static_cast<ULONGLONG>(ms) + 30000;
    bool quit = false;
    int status = 0;
    MSG msg;
    while (sentinel != 0 && GetTickCount64() < until) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
      while (sentinel != 0 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {  // kept for whoever waits for it
          quit = true;
          status = static_cast<int>(msg.wParam);
          continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
    }
    if (quit) PostQuitMessage(status);
    const bool settled = sentinel == 0;
    if (!settled) KillTimer(nullptr, std::exchange(sentinel, 0));
    return settled;
  }

  void ClickCheckBox(std::size_t slot) override {
    SendMessageW(At(slot), BM_CLICK, 0, 0);
    runtime_.PumpMessages();
  }
  void ClickLabel(std::size_t slot, bool rightButton) override {
    const LPARAM at = MAKELPARAM(3, 3);
    SendMessageW(At(slot), rightButton ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, 0, at);
    SendMessageW(At(slot), rightButton ? WM_RBUTTONUP : WM_LBUTTONUP, 0, at);
    runtime_.PumpMessages();
  }
  void DoubleClickLabel(std::size_t slot) override {
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
      SendMessageW(At(slot), message, 0, MAKELPARAM(3, 3));
    }
    runtime_.PumpMessages();
  }
  void ChooseNextEntry(std::size_t list) override { PressKey(list, VK_DOWN); }
  void PressKey(std::size_t slot, std::int16_t virtualKey) override {
    SetFocus(At(slot));
    PostMessageW(At(slot), WM_KEYDOWN, static_cast<WPARAM>(virtualKey), 0);
    runtime_.PumpMessages();
  }
  std::string ReadMessageDuring(const std::function<void()>& act,
                                const std::function<void()>& whileShown) override {
    messageText.clear();
    duringMessage = &whileShown;
    // A thread timer runs inside the message box's own loop.
    reader = SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR, DWORD) {
      HWND box = FindWindowW(L"#32770", runtime::Widen(kTestProgram.name).c_str());
      if (box == nullptr) return;
      KillTimer(nullptr, std::exchange(reader, 0));
      wchar_t text[1024] = {};
      GetDlgItemTextW(box, 0xFFFF, text, 1024);  // a message box's text control
      messageText = runtime::Narrow(text);
      if (*duringMessage) (*duringMessage)();
      PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    act();
    if (reader != 0) KillTimer(nullptr, std::exchange(reader, 0));
    return messageText;
  }
  void PressKeyWhereFocused(std::int16_t virtualKey) override {
    PostMessageW(GetFocus(), WM_KEYDOWN, static_cast<WPARAM>(virtualKey), 0);
    runtime_.PumpMessages();
  }
  void OpenList(std::size_t list) override {
    SetFocus(At(list));
    SendMessageW(At(list), CB_SHOWDROPDOWN, TRUE, 0);
    runtime_.PumpMessages();
  }
  void CloseWindow() override {
    SendMessageW(runtime_.Window(), WM_CLOSE, 0, 0);
    runtime_.PumpMessages();
  }

  bool WindowVisible() override { return IsWindowVisible(runtime_.Window()); }
  std::string Title() override {
    wchar_t title[64] = {};
    GetWindowTextW(runtime_.Window(), title, 64);
    return runtime::Narrow(title);
  }
  PixelRect ClientArea() override {
    RECT r;
    GetClientRect(runtime_.Window(), &r);
    return {0, 0, r.right, r.bottom};
  }
  PixelRect RectOf(std::size_t slot) override {
    RECT r;
    GetWindowRect(At(slot), &r);
    MapWindowPoints(HWND_DESKTOP, runtime_.Window(), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
  }
  std::optional<std::size_t> ControlAt(int x, int y) override {
    return runtime_.SlotOfControl(
        ChildWindowFromPointEx(runtime_.Window(), POINT{x, y}, CWP_SKIPINVISIBLE));
  }
  std::optional<std::size_t> FocusAfterTab(std::size_t from) override {
    PressKey(from, VK_TAB);
    return runtime_.SlotOfControl(GetFocus());
  }
  bool ListOpen(std::size_t list) override {
    return SendMessageW(At(list), CB_GETDROPPEDSTATE, 0, 0) != FALSE;
  }
  bool Checked(std::size_t box) override {
    return SendMessageW(At(box), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  std::string ShownText(std::size_t slot) override {
    wchar_t className[16] = {};
    GetClassNameW(At(slot), className, 16);
    if (lstrcmpiW(className, L"COMBOBOX") == 0) {
      const LRESULT index = SendMessageW(At(slot), CB_GETCURSEL, 0, 0);
      if (index == CB_ERR) return {};
      std::vector<wchar_t> text(
          static_cast<std::size_t>(SendMessageW(At(slot), CB_GETLBTEXTLEN, index, 0)) + 1);
      SendMessageW(At(slot), CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
      return runtime::Narrow(text.data());
    }
    std::vector<wchar_t> text(static_cast<std::size_t>(GetWindowTextLengthW(At(slot))) + 1);
    GetWindowTextW(At(slot), text.data(), static_cast<int>(text.size()));
    return runtime::Narrow(text.data());
  }
  // The color the window hands the control to paint its caption in.
  runtime::Color CaptionColor(std::size_t slot) override {
    HDC dc = GetDC(runtime_.Window());
    SendMessageW(runtime_.Window(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(At(slot)));
    const COLORREF c = GetTextColor(dc);
    ReleaseDC(runtime_.Window(), dc);
    return runtime::Rgb(GetRValue(c), GetGValue(c), GetBValue(c));
  }

 private:
  HWND At(std::size_t slot) { return runtime_.ControlAt(slot); }

  Win32DrivenRuntime runtime_;
};

}  // namespace

std::unique_ptr<RuntimeHarness> MakeHarness(runtime::Services services) {
  return std::make_unique<Win32Harness>(services);
}

}  // namespace tolvane::testing
