// What the Win32 result boxes add to a plain edit control.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "runtime/win32/win32_runtime.h"
#include "runtime_harness.h"
#include "test_random.h"
#include "window/frm_main.h"
#include "window/frm_main_layout.h"

namespace tolvane::window {
namespace {

TEST(Win32ResultBox, CopiesAreMarkedSecretAndDoubleClickSelectsAll) {
  testing::SeededSource random{3};
  testing::FixedInstance instance;
  runtime::Win32Runtime runtime({random, instance});
  frmMain form(runtime);
  runtime.Start(runtime.LastForm());
  runtime.PumpMessages();

  HWND box = runtime.LastForm().ControlAt(ctl::txtResults(2));
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
