// The Win32 runtime against the contract: property writes and the events they raise, user
// clicks and choices, keys, the timer, the end of the process.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <functional>
#include <string>

#include "contract_form.h"
#include "runtime/keys.h"
#include "runtime/win32/win32_runtime.h"
#include "test_random.h"

namespace tolvane::runtime {
namespace {

using namespace testing::contract;
using testing::Recorder;

std::wstring UniqueInstanceName() {
  static int counter = 0;
  return L"Local\\tolvane-contract-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
         std::to_wstring(++counter);
}

double NowMs() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

class Win32Contract : public ::testing::Test {
 protected:
  void SetUp() override {
    runtime.Start(form);
    runtime.PumpMessages();
    recorder.log.clear();
  }
  HWND At(std::size_t slot) { return form.ControlAt(slot); }
  // Pumps messages until the condition holds or the time is up.
  bool WaitFor(const std::function<bool()>& done, double ms) {
    const double until = NowMs() + ms;
    while (!done() && NowMs() < until) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
      runtime.PumpMessages();
    }
    return done();
  }

  testing::SeededSource random{1};
  Win32Runtime runtime{UniqueInstanceName(), &random};
  Recorder recorder;
  Win32Form& form = static_cast<Win32Form&>(runtime.CreateForm(kForm, recorder));
};

TEST_F(Win32Contract, ValueWriteRaisesClickOnlyWhenItChanges) {
  CheckBox& box = form.CheckBoxAt(kBoxA);
  std::int16_t seenInside = -1;
  recorder.onClick = [&](std::size_t) { seenInside = box.Value(); };
  box.SetValue(0);
  EXPECT_TRUE(recorder.log.empty());
  box.SetValue(1);
  EXPECT_EQ(recorder.log, (std::vector<std::string>{"Click 2", "end Click 2"}));
  EXPECT_EQ(seenInside, 1);
  EXPECT_EQ(SendMessageW(At(kBoxA), BM_GETCHECK, 0, 0), BST_CHECKED);
  box.SetValue(1);
  EXPECT_EQ(recorder.log.size(), 2u);
}

TEST_F(Win32Contract, UserClickFlipsTheBoxAndRaisesClickOnce) {
  SendMessageW(At(kBoxB), BM_CLICK, 0, 0);
  runtime.PumpMessages();
  EXPECT_EQ(form.CheckBoxAt(kBoxB).Value(), 0);
  EXPECT_EQ(recorder.log, (std::vector<std::string>{"Click 3", "end Click 3"}));
}

TEST_F(Win32Contract, EventsNestInsideTheWriteThatRaisesThem) {
  CheckBox& a = form.CheckBoxAt(kBoxA);
  CheckBox& b = form.CheckBoxAt(kBoxB);
  recorder.onClick = [&](std::size_t slot) {
    if (slot == kBoxA) b.SetValue(0);
  };
  a.SetValue(1);
  EXPECT_EQ(recorder.log,
            (std::vector<std::string>{"Click 2", "Click 3", "end Click 3", "end Click 2"}));
}

TEST_F(Win32Contract, ListIndexWriteSelectsAndRaisesClick) {
  ComboBox& list = form.ComboBoxAt(kList);
  for (const char* item : {"50", "49", "48"}) list.AddItem(item);
  EXPECT_EQ(list.ListIndex(), -1);
  int seenInside = -2;
  recorder.onClick = [&](std::size_t) { seenInside = list.ListIndex(); };
  list.SetListIndex(2);
  EXPECT_EQ(seenInside, 2);
  EXPECT_EQ(recorder.log, (std::vector<std::string>{"Click 4", "end Click 4"}));
  list.SetListIndex(7);
  EXPECT_EQ(list.ListIndex(), 2);
  EXPECT_EQ(recorder.log.size(), 2u);
}

TEST_F(Win32Contract, UserChoiceRaisesClickOnce) {
  ComboBox& list = form.ComboBoxAt(kList);
  for (const char* item : {"50", "49", "48"}) list.AddItem(item);
  list.SetListIndex(0);
  recorder.log.clear();
  SetFocus(At(kList));
  SendMessageW(At(kList), WM_KEYDOWN, VK_DOWN, 0);
  runtime.PumpMessages();
  EXPECT_EQ(list.ListIndex(), 1);
  EXPECT_EQ(std::count(recorder.log.begin(), recorder.log.end(), "Click 4"), 1);
}

TEST_F(Win32Contract, TextRoundTripsUnicodeWithoutALengthLimit) {
  TextBox& text = form.TextBoxAt(kText);
  text.SetText("Ёё!\"\\`|~абв&");
  EXPECT_EQ(text.Text(), "Ёё!\"\\`|~абв&");
  const std::string longText(100000, 'x');
  text.SetText(longText);
  EXPECT_EQ(text.Text(), longText);
}

TEST_F(Win32Contract, LabelDrawsAmpersandsAndReportsClicks) {
  EXPECT_TRUE(GetWindowLongW(At(kLabel), GWL_STYLE) & SS_NOPREFIX);
  SendMessageW(At(kLabel), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  SendMessageW(At(kLabel), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  runtime.PumpMessages();
  EXPECT_EQ(recorder.log, (std::vector<std::string>{"Click 6", "end Click 6"}));
}

TEST_F(Win32Contract, KeysReachTheLogicFromEveryFocusableControl) {
  PostMessageW(At(kText), WM_KEYDOWN, VK_F5, 0);
  PostMessageW(At(kBoxA), WM_KEYDOWN, VK_ESCAPE, 0);
  PostMessageW(At(kList), WM_KEYDOWN, VK_F2, 0);
  runtime.PumpMessages();
  EXPECT_EQ(recorder.log,
            (std::vector<std::string>{"KeyDown 5 116 0", "KeyDown 2 27 0", "KeyDown 4 113 0"}));
}

TEST_F(Win32Contract, TabVisitsFocusableControlsInTabIndexOrder) {
  HWND window = form.Window();
  EXPECT_EQ(GetNextDlgTabItem(window, At(kBoxB), FALSE), At(kBoxA));
  EXPECT_EQ(GetNextDlgTabItem(window, At(kBoxA), FALSE), At(kList));
  EXPECT_EQ(GetNextDlgTabItem(window, At(kList), FALSE), At(kText));
  EXPECT_EQ(GetNextDlgTabItem(window, At(kText), FALSE), At(kBoxB));
}

TEST_F(Win32Contract, TimerFiresEveryIntervalAndNeverEarly) {
  Timer& timer = form.TimerAt(kTimer);
  EXPECT_FALSE(timer.Enabled());
  std::vector<double> ticks;
  const double start = NowMs();
  recorder.onTimer = [&] {
    ticks.push_back(NowMs() - start);
    if (ticks.size() == 3) timer.SetEnabled(false);
  };
  timer.SetEnabled(true);
  ASSERT_TRUE(WaitFor([&] { return ticks.size() >= 3; }, 5000));
  for (std::size_t i = 0; i < ticks.size(); ++i) EXPECT_GE(ticks[i], 60.0 * (i + 1)) << i;
  WaitFor([] { return false; }, 150);
  EXPECT_EQ(ticks.size(), 3u);
  EXPECT_FALSE(timer.Enabled());
}

TEST_F(Win32Contract, NothingIsDeliveredAfterEnd) {
  form.TimerAt(kTimer).SetEnabled(true);
  runtime.End();
  EXPECT_TRUE(runtime.Ended());
  EXPECT_FALSE(IsWindowVisible(form.Window()));
  form.CheckBoxAt(kBoxA).SetValue(1);
  SendMessageW(At(kBoxB), BM_CLICK, 0, 0);
  EXPECT_TRUE(recorder.log.empty());
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {  // the quit message End posted
  }
}

TEST_F(Win32Contract, ClosingTheWindowRaisesUnload) {
  SendMessageW(form.Window(), WM_CLOSE, 0, 0);
  EXPECT_EQ(recorder.log, (std::vector<std::string>{"Unload"}));
}

TEST_F(Win32Contract, AskingForTheWrongKindIsAProgrammingError) {
  EXPECT_THROW(form.CheckBoxAt(kList), std::logic_error);
  EXPECT_THROW(form.TextBoxAt(kLabel), std::logic_error);
  EXPECT_THROW(form.TimerAt(kFrame), std::logic_error);
}

}  // namespace
}  // namespace tolvane::runtime
