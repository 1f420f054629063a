// frmMain on the Win32 runtime: the same window logic and layout data as on Linux.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>

#include "generator/character_table.h"
#include "runtime/win32/text.h"
#include "runtime/win32/win32_runtime.h"
#include "utf8.h"
#include "window/frm_main.h"
#include "window/frm_main_layout.h"

namespace tolvane::window {
namespace {

using runtime::ControlKind;
using runtime::Win32Form;
using runtime::Win32Runtime;

std::wstring InstanceName(const char* test) {
  return L"Local\\tolvane-window-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
         runtime::Widen(test);
}

struct Running {
  explicit Running(const char* test) : runtime(InstanceName(test)), form(runtime) {}
  void Start() {
    runtime.Start(runtime.LastForm());
    runtime.PumpMessages();
  }
  Win32Form& Form() { return runtime.LastForm(); }
  HWND At(std::size_t slot) { return Form().ControlAt(slot); }
  std::string Result(int i) { return form.txtResults(i).Text(); }
  Win32Runtime runtime;
  frmMain form;
};

RECT ClientRect(HWND control, HWND window) {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TEST(Win32FrmMain, FirstShowHasTenPasswordsOfEightToTwelveDefaultCharacters) {
  Running app("first-show");
  app.Start();
  EXPECT_TRUE(IsWindowVisible(app.Form().Window()));
  wchar_t title[32] = {};
  GetWindowTextW(app.Form().Window(), title, 32);
  EXPECT_EQ(std::wstring(title), L"Tolvane");
  RECT client;
  GetClientRect(app.Form().Window(), &client);
  EXPECT_EQ(client.right, 451);
  EXPECT_EQ(client.bottom, 403);
  for (int i = 1; i <= 10; ++i) {
    const std::u32string password = testing::FromUtf8(app.Result(i));
    EXPECT_GE(password.size(), 8u);
    EXPECT_LE(password.size(), 12u);
    for (char32_t c : password) EXPECT_TRUE(c >= 0x21 && c <= 0x7E) << i;
  }
}

TEST(Win32FrmMain, EveryControlStandsWhereTheLayoutPutsIt) {
  Running app("layout");
  app.Start();
  const auto& controls = FrmMainLayout().controls;
  int placed = 0;
  for (std::size_t slot = 0; slot < ctl::count; ++slot) {
    const auto& c = controls[slot];
    if (c.kind == ControlKind::Timer) continue;
    int left = c.bounds.left / 15, top = c.bounds.top / 15;
    if (c.container != runtime::kOnForm) {
      left += controls[c.container].bounds.left / 15;
      top += controls[c.container].bounds.top / 15;
    }
    const RECT r = ClientRect(app.At(slot), app.Form().Window());
    EXPECT_EQ(r.left, left) << c.name << c.index;
    EXPECT_EQ(r.top, top) << c.name << c.index;
    EXPECT_EQ(r.right - r.left, c.bounds.width / 15) << c.name << c.index;
    // A closed list is as tall as its font makes it; everything else as the layout says.
    if (c.kind != ControlKind::ComboBox) {
      EXPECT_EQ(r.bottom - r.top, c.bounds.height / 15) << c.name;
    }
    ++placed;
  }
  EXPECT_EQ(placed, 28);
}

TEST(Win32FrmMain, CyrillicBoxesTakeClicksOverTheOptionsFrame) {
  Running app("stacking");
  app.Start();
  for (std::size_t box : {ctl::chE, ctl::chF}) {
    const RECT r = ClientRect(app.At(box), app.Form().Window());
    const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    EXPECT_EQ(ChildWindowFromPointEx(app.Form().Window(), centre, CWP_SKIPINVISIBLE), app.At(box));
  }
}

TEST(Win32FrmMain, TabVisitsTheFocusableControlsInDesignedOrder) {
  Running app("tab-order");
  app.Start();
  std::vector<std::size_t> expected{ctl::cmbSizeA, ctl::cmbSizeB, ctl::chA, ctl::chB,
                                    ctl::chC,      ctl::chD,      ctl::chE, ctl::chF};
  for (int i = 1; i <= 10; ++i) expected.push_back(ctl::txtResults(i));
  expected.push_back(ctl::cmbSizeA);
  HWND at = app.At(ctl::cmbSizeA);
  for (std::size_t i = 1; i < expected.size(); ++i) {
    at = GetNextDlgTabItem(app.Form().Window(), at, FALSE);
    EXPECT_EQ(at, app.At(expected[i])) << "step " << i;
  }
}

TEST(Win32FrmMain, F5AndF2ReplaceAllTenAndEscapeEnds) {
  Running app("keys");
  app.Start();
  for (WPARAM key : {VK_F5, VK_F2}) {
    std::vector<std::string> before;
    for (int i = 1; i <= 10; ++i) before.push_back(app.Result(i));
    PostMessageW(app.At(ctl::txtResults(4)), WM_KEYDOWN, key, 0);
    app.runtime.PumpMessages();
    for (int i = 1; i <= 10; ++i) EXPECT_NE(app.Result(i), before[i - 1]) << i;
  }
  PostMessageW(app.At(ctl::cmbSizeB), WM_KEYDOWN, VK_ESCAPE, 0);
  app.runtime.PumpMessages();
  EXPECT_TRUE(app.runtime.Ended());
  EXPECT_FALSE(IsWindowVisible(app.Form().Window()));
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
}

TEST(Win32FrmMain, ALabelClickSwitchesItsBoxAndTheWarningColoursTheCaptions) {
  Running app("label-click");
  app.Start();
  SendMessageW(app.At(ctl::lblE), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(app.At(ctl::lblE), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  app.runtime.PumpMessages();
  EXPECT_EQ(SendMessageW(app.At(ctl::chE), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(app.form.UseRusUpper, 1);
  // The colour each caption is painted in, as the window hands it to the control.
  HDC dc = GetDC(app.Form().Window());
  for (std::size_t box : {ctl::chB, ctl::chE, ctl::chC}) {
    SendMessageW(app.Form().Window(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(app.At(box)));
    EXPECT_EQ(GetTextColor(dc), box == ctl::chC ? RGB(0, 0, 0) : RGB(192, 0, 0));
  }
  SendMessageW(app.Form().Window(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(app.At(ctl::lblInfo)));
  EXPECT_EQ(GetTextColor(dc), RGB(192, 0, 0));
  SendMessageW(app.Form().Window(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(app.At(ctl::txtResults(1))));
  EXPECT_EQ(GetBkColor(dc), RGB(224, 224, 224));
  ReleaseDC(app.Form().Window(), dc);
}

TEST(Win32FrmMain, SecondInstanceEndsBeforeItsWindowShows) {
  Running first("second-instance");
  first.Start();
  Running second("second-instance");
  second.Start();
  EXPECT_TRUE(second.runtime.Ended());
  EXPECT_FALSE(IsWindowVisible(second.Form().Window()));
  EXPECT_EQ(second.Result(1), "");
  EXPECT_FALSE(first.runtime.Ended());
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
}

TEST(Win32FrmMain, CopiesFromAResultBoxAreMarkedSecretAndDoubleClickSelectsAll) {
  Running app("clipboard");
  app.Start();
  HWND box = app.At(ctl::txtResults(2));
  SetWindowTextW(box, L"ab,cd!ef");
  SendMessageW(box, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, 4));
  DWORD start = 0, end = 0;
  SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 8u);
  SendMessageW(box, WM_COPY, 0, 0);
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
  EXPECT_TRUE(IsClipboardFormatAvailable(
      RegisterClipboardFormatW(L"ExcludeClipboardContentFromMonitorProcessing")));
  EXPECT_TRUE(
      IsClipboardFormatAvailable(RegisterClipboardFormatW(L"CanIncludeInClipboardHistory")));
  ASSERT_TRUE(OpenClipboard(nullptr));
  const auto* text = static_cast<const wchar_t*>(GlobalLock(GetClipboardData(CF_UNICODETEXT)));
  EXPECT_EQ(std::wstring(text), L"ab,cd!ef");
  GlobalUnlock(GetClipboardData(CF_UNICODETEXT));
  CloseClipboard();
}

}  // namespace
}  // namespace tolvane::window
