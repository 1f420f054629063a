// What the Win32 form adds to plain controls: focus that survives switching windows, the
// whole password on a double-click, and copies that reach the clipboard once, marked as
// secret, or not at all.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "runtime/win32/win32_colors.h"
#include "runtime_harness.h"
#include "test_random.h"
#include "win32_driven_runtime.h"
#include "window/frm_main.h"
#include "window/frm_main_layout.h"

namespace tolvane::window {
namespace {

int clipboardUpdates = 0;
bool countEnded = false;
constexpr UINT kEndOfCount = WM_APP + 1;

class Win32Window : public ::testing::Test {
 protected:
  void SetUp() override {
    runtime.Start(runtime.LastForm());
    runtime.PumpMessages();
    listener =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    SetWindowLongPtrW(listener, GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(+[](HWND w, UINT m, WPARAM wp, LPARAM lp) {
                        if (m == WM_CLIPBOARDUPDATE) ++clipboardUpdates;
                        if (m == kEndOfCount) countEnded = true;
                        return DefWindowProcW(w, m, wp, lp);
                      }));
    ASSERT_TRUE(AddClipboardFormatListener(listener));
    box = runtime.ControlAt(ctl::txtResults(2));
    SetWindowTextW(box, L"ab,cd!ef");
  }
  void TearDown() override {
    RemoveClipboardFormatListener(listener);
    DestroyWindow(listener);
  }
  // Counts the clipboard's notices of what happened so far. The system posts them as the
  // clipboard closes; a message posted now comes after them, so its arrival ends the count.
  int Updates() {
    countEnded = false;
    PostMessageW(listener, kEndOfCount, 0, 0);
    const ULONGLONG deadline = GetTickCount64() + 10000;
    while (!countEnded && GetTickCount64() < deadline) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
      runtime.PumpMessages();
    }
    EXPECT_TRUE(countEnded) << "the listener's queue did not move";
    return std::exchange(clipboardUpdates, 0);
  }
  static std::wstring ClipboardText() {
    if (!OpenClipboard(nullptr)) return L"?";
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    std::wstring text = data ? static_cast<const wchar_t*>(GlobalLock(data)) : L"";
    if (data) GlobalUnlock(data);
    CloseClipboard();
    return text;
  }
  // Every mark is there, and the two that ask ("may history keep it?", "may it go to the
  // cloud?") say no (0).
  static bool Marked() {
    for (const wchar_t* format :
         {L"ExcludeClipboardContentFromMonitorProcessing", L"Clipboard Viewer Ignore"}) {
      if (!IsClipboardFormatAvailable(RegisterClipboardFormatW(format))) return false;
    }
    if (!OpenClipboard(nullptr)) return false;
    bool no = true;
    for (const wchar_t* format : {L"CanIncludeInClipboardHistory", L"CanUploadToCloudClipboard"}) {
      HANDLE data = GetClipboardData(RegisterClipboardFormatW(format));
      const auto* value = data ? static_cast<const DWORD*>(GlobalLock(data)) : nullptr;
      no = no && value != nullptr && *value == 0;
      if (value) GlobalUnlock(data);
    }
    CloseClipboard();
    return no;
  }
  static void PutForeignText() {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL foreign = GlobalAlloc(GMEM_MOVEABLE, sizeof L"foreign");
    std::wmemcpy(static_cast<wchar_t*>(GlobalLock(foreign)), L"foreign", 8);
    GlobalUnlock(foreign);
    SetClipboardData(CF_UNICODETEXT, foreign);
    CloseClipboard();
  }
  std::wstring BoxText() {
    wchar_t text[16] = {};
    GetWindowTextW(box, text, 16);
    return text;
  }

  testing::SeededSource random{3};
  testing::FixedInstance instance;
  testing::Win32DrivenRuntime runtime{{random, instance}};
  frmMain form{runtime};
  HWND listener = nullptr;
  HWND box = nullptr;
};

TEST_F(Win32Window, DoubleClickSelectsTheWholePasswordAndACopyArrivesOnceMarked) {
  Updates();
  SendMessageW(box, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, 4));
  DWORD start = 0, end = 0;
  SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 8u);
  SendMessageW(box, WM_COPY, 0, 0);
  EXPECT_EQ(Updates(), 1);  // text and marks in one transaction
  EXPECT_EQ(ClipboardText(), L"ab,cd!ef");
  EXPECT_TRUE(Marked());

  SendMessageW(box, EM_SETSEL, 3, 5);
  SendMessageW(box, WM_CUT, 0, 0);
  EXPECT_EQ(Updates(), 1);
  EXPECT_EQ(ClipboardText(), L"cd");
  EXPECT_TRUE(Marked());
  EXPECT_EQ(BoxText(), L"ab,!ef");
}

// While another program holds the clipboard open the whole time, a cut keeps its text and
// the clipboard keeps what it held.
TEST_F(Win32Window, ACutThatCannotReachTheClipboardKeepsTheText) {
  PutForeignText();
  std::atomic<int> holding{0};  // 1: it holds the clipboard; -1: it could not open it
  std::atomic<bool> release{false};
  std::thread holder([&] {
    if (!OpenClipboard(nullptr)) {
      holding = -1;
      return;
    }
    holding = 1;
    while (!release) Sleep(5);
    CloseClipboard();
  });
  while (holding == 0) Sleep(5);
  SendMessageW(box, EM_SETSEL, 3, 5);
  SendMessageW(box, WM_CUT, 0, 0);
  release = true;
  holder.join();
  ASSERT_EQ(holding, 1) << "the other thread could not take the clipboard";
  EXPECT_EQ(BoxText(), L"ab,cd!ef");
  EXPECT_EQ(ClipboardText(), L"foreign");
}

TEST_F(Win32Window, WithNothingSelectedAnotherProgramsClipboardIsLeftAlone) {
  PutForeignText();
  Updates();

  SendMessageW(box, EM_SETSEL, 2, 2);
  SendMessageW(box, WM_COPY, 0, 0);
  SendMessageW(box, WM_CUT, 0, 0);
  EXPECT_EQ(Updates(), 0);
  EXPECT_EQ(ClipboardText(), L"foreign");
  EXPECT_FALSE(Marked());
}

TEST_F(Win32Window, KeysReachTheFocusedControlAfterSwitchingAwayAndBackAndAfterMinimising) {
  HWND window = runtime.Window();
  HWND chB = runtime.ControlAt(ctl::chB);
  SetActiveWindow(window);
  SetFocus(chB);
  runtime.PumpMessages();
  HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 500, 500, 50, 50,
                               nullptr, nullptr, nullptr, nullptr);
  SetActiveWindow(other);
  runtime.PumpMessages();
  ASSERT_NE(GetFocus(), chB);
  SetActiveWindow(window);
  runtime.PumpMessages();
  EXPECT_EQ(GetFocus(), chB) << "after another window";
  ShowWindow(window, SW_MINIMIZE);
  runtime.PumpMessages();
  ShowWindow(window, SW_RESTORE);
  runtime.PumpMessages();
  EXPECT_EQ(GetFocus(), chB) << "after minimise and restore";

  const std::string before = form.txtResults(1).Text();
  PostMessageW(GetFocus(), WM_KEYDOWN, VK_F5, 0);
  runtime.PumpMessages();
  EXPECT_NE(form.txtResults(1).Text(), before);
  DestroyWindow(other);
}

std::vector<HWND> alerts;  // the sources of the alerts heard so far

// The look-alike note is raised as an alert once as it appears, not as it goes, and again
// the next time. A sentinel alert of the test's own comes after whatever was raised before.
TEST_F(Win32Window, TheNoteIsRaisedAsAnAlertOnceAsItAppears) {
  const HWINEVENTHOOK hook = SetWinEventHook(
      EVENT_SYSTEM_ALERT, EVENT_SYSTEM_ALERT, nullptr,
      [](HWINEVENTHOOK, DWORD, HWND source, LONG, LONG, DWORD, DWORD) { alerts.push_back(source); },
      GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  const auto raised = [&] {
    NotifyWinEvent(EVENT_SYSTEM_ALERT, listener, OBJID_CLIENT, CHILDID_SELF);
    const ULONGLONG deadline = GetTickCount64() + 10000;
    while ((alerts.empty() || alerts.back() != listener) && GetTickCount64() < deadline) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
      runtime.PumpMessages();
    }
    EXPECT_FALSE(alerts.empty()) << "the sentinel alert did not arrive";
    if (!alerts.empty()) alerts.pop_back();
    return std::exchange(alerts, {}).size();
  };
  runtime::CheckBox& cyrillic = runtime.LastForm().CheckBoxAt(ctl::chE);
  EXPECT_EQ(raised(), 0u);
  cyrillic.SetValue(1);  // with the Latin capitals on: both captions turn red
  EXPECT_EQ(raised(), 1u);
  cyrillic.SetValue(0);
  EXPECT_EQ(raised(), 0u);
  cyrillic.SetValue(1);
  EXPECT_EQ(raised(), 1u);
  UnhookWinEvent(hook);
}

// Moved to a monitor of another DPI, the window lays itself out again for it, at the place the
// system suggests, and back.
// The colours a control is drawn in: designed, or, while the user has high contrast on, the
// system's, with a designed red text in the hyperlink colour, set apart from the text.
TEST(Win32Colors, HighContrastTakesTheSystemsColoursAndSetsTheRedTextApart) {
  using runtime::ColorsOf;
  const auto system = [](int index) {
    const COLORREF c = GetSysColor(index);
    return runtime::Rgb(GetRValue(c), GetGValue(c), GetBValue(c));
  };
  struct Case {
    runtime::Color back, fore;
    bool field;
    runtime::Color designedBack, highBack, highFore;
  };
  for (const Case& c : {
           Case{kFieldGrey, runtime::kBlack, true, kFieldGrey, system(COLOR_WINDOW),
                system(COLOR_WINDOWTEXT)},
           Case{kPanelGrey, runtime::kBlack, false, kPanelGrey, system(COLOR_BTNFACE),
                system(COLOR_BTNTEXT)},
           Case{kPanelGrey, kWarnColor, false, kPanelGrey, system(COLOR_BTNFACE),
                system(COLOR_HOTLIGHT)},
       }) {
    EXPECT_EQ(ColorsOf(c.back, c.fore, c.field, false).back, c.designedBack);
    EXPECT_EQ(ColorsOf(c.back, c.fore, c.field, false).fore, c.fore);
    EXPECT_EQ(ColorsOf(c.back, c.fore, c.field, true).back, c.highBack);
    EXPECT_EQ(ColorsOf(c.back, c.fore, c.field, true).fore, c.highFore);
  }
  EXPECT_NE(system(COLOR_HOTLIGHT), system(COLOR_BTNTEXT));
}

// Turned on while the program runs, high contrast reaches the form at once: its boxes answer
// in the system's colours. Where the system cannot turn it on (Wine 8), the decision above is
// what can be checked.
TEST_F(Win32Window, FollowsHighContrastTurnedOnWhileItRuns) {
  const auto textOf = [&](std::size_t slot, UINT message) {
    const HWND control = runtime.ControlAt(slot);
    HDC dc = GetDC(control);
    SendMessageW(runtime.Window(), message, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(control));
    const COLORREF text = GetTextColor(dc);
    ReleaseDC(control, dc);
    return text;
  };
  EXPECT_EQ(textOf(ctl::lblInfo, WM_CTLCOLORSTATIC), RGB(192, 0, 0)) << "the designed red";
  HIGHCONTRASTW setting{sizeof setting, HCF_HIGHCONTRASTON, nullptr};
  if (!SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof setting, &setting, SPIF_SENDCHANGE))
    GTEST_SKIP() << "this system cannot turn high contrast on";
  runtime.PumpMessages();
  EXPECT_EQ(textOf(ctl::lblInfo, WM_CTLCOLORSTATIC), GetSysColor(COLOR_HOTLIGHT));
  EXPECT_EQ(textOf(ctl::txtResults(1), WM_CTLCOLOREDIT), GetSysColor(COLOR_WINDOWTEXT));
  setting.dwFlags = 0;
  SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof setting, &setting, SPIF_SENDCHANGE);
  runtime.PumpMessages();
  EXPECT_EQ(textOf(ctl::lblInfo, WM_CTLCOLORSTATIC), RGB(192, 0, 0));
}

TEST_F(Win32Window, FollowsAChangeOfDpi) {
  HWND window = runtime.Window();
  const auto client = [&] {
    RECT r;
    GetClientRect(window, &r);
    return std::pair{r.right, r.bottom};
  };
  const auto boxSize = [&] {
    RECT r;
    GetWindowRect(box, &r);
    return std::pair{r.right - r.left, r.bottom - r.top};
  };
  RECT suggested{40, 30, 800, 700};
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(client(), std::pair(677L, 605L));
  EXPECT_EQ(boxSize(), std::pair(641L, 26L));
  RECT at;
  GetWindowRect(window, &at);
  EXPECT_EQ(at.left, 40);
  EXPECT_EQ(at.top, 30);
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(client(), std::pair(451L, 403L));
  EXPECT_EQ(boxSize(), std::pair(427L, 17L));
}

}  // namespace
}  // namespace tolvane::window
