// Each toolkit's runtime, and the tests' fake, against the contract: property writes and the events
// they raise, the user's clicks, choices and keys, the timer, the layout, the end of the process,
// and a handler that fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <thread>

#include "contract_form.h"
#include "runtime/keys.h"
#include "runtime_harness.h"
#include "test_random.h"

namespace tolvane::runtime {
namespace {

using namespace testing::contract;
using testing::PixelRect;
using testing::Recorder;
using Log = std::vector<std::string>;

class Contract : public ::testing::Test {
 protected:
  void SetUp() override {
    harness->StartLastForm();
    harness->WaitFor([] { return false; }, 0);
    recorder.log.clear();
  }
  long Count(const std::string& entry) const {
    return std::count(recorder.log.begin(), recorder.log.end(), entry);
  }

  testing::SeededSource random{1};
  testing::FixedInstance instance;
  std::unique_ptr<testing::RuntimeHarness> harness = testing::MakeHarness({random, instance});
  ToolkitRuntime& runtime = harness->Runtime();
  Recorder recorder;
  Form& form = runtime.CreateForm(kForm, recorder);
};

TEST_F(Contract, ValueWriteRaisesClickOnlyWhenItChanges) {
  CheckBox& box = form.CheckBoxAt(kBoxA);
  std::int16_t seenInside = -1;
  recorder.onClick = [&](std::size_t) { seenInside = box.Value(); };
  box.SetValue(0);  // already 0
  EXPECT_TRUE(recorder.log.empty());
  box.SetValue(1);
  EXPECT_EQ(recorder.log, (Log{"Click 2", "end Click 2"}));
  EXPECT_EQ(seenInside, 1);  // the new value is visible inside the handler
  EXPECT_TRUE(harness->Checked(kBoxA));
  box.SetValue(5);  // any value but 0 checks the box, and reads back as 1
  EXPECT_EQ(box.Value(), 1);
  EXPECT_EQ(recorder.log.size(), 2u);
}

// A caption is drawn in its designed colour, a check box's in the colour written last; colour
// writes raise nothing.
TEST_F(Contract, CaptionsTakeTheirColours) {
  EXPECT_EQ(harness->CaptionColor(kLabel), kLabelColor);
  EXPECT_EQ(harness->CaptionColor(kBoxA), runtime::kBlack);
  form.CheckBoxAt(kBoxA).SetForeColor(kLabelColor);
  EXPECT_EQ(form.CheckBoxAt(kBoxA).ForeColor(), kLabelColor);
  EXPECT_EQ(harness->CaptionColor(kBoxA), kLabelColor);
  EXPECT_EQ(harness->CaptionColor(kBoxB), runtime::kBlack);
  EXPECT_TRUE(recorder.log.empty());
}

TEST_F(Contract, UserClickFlipsTheBoxAndRaisesClickOnce) {
  harness->ClickCheckBox(kBoxB);
  EXPECT_EQ(form.CheckBoxAt(kBoxB).Value(), 0);
  EXPECT_EQ(recorder.log, (Log{"Click 3", "end Click 3"}));
}

TEST_F(Contract, EventsNestInsideTheWriteThatRaisesThem) {
  CheckBox& a = form.CheckBoxAt(kBoxA);
  CheckBox& b = form.CheckBoxAt(kBoxB);
  recorder.onClick = [&](std::size_t slot) {
    if (slot == kBoxA) b.SetValue(0);
  };
  a.SetValue(1);
  EXPECT_EQ(recorder.log, (Log{"Click 2", "Click 3", "end Click 3", "end Click 2"}));
}

TEST_F(Contract, ListIndexWriteSelectsAndRaisesClick) {
  ComboBox& list = form.ComboBoxAt(kList);
  for (const char* item : {"50", "49", "48"}) list.AddItem(item);
  EXPECT_EQ(list.ListIndex(), -1);  // entries added, none selected
  int seenInside = -2;
  recorder.onClick = [&](std::size_t) { seenInside = list.ListIndex(); };
  list.SetListIndex(2);
  EXPECT_EQ(seenInside, 2);
  EXPECT_EQ(harness->ShownText(kList), "48");
  EXPECT_EQ(recorder.log, (Log{"Click 4", "end Click 4"}));
  for (int none : {3, 7, -2}) list.SetListIndex(none);  // no such entry: ignored
  EXPECT_EQ(list.ListIndex(), 2);
  EXPECT_EQ(recorder.log.size(), 2u);
  list.SetListIndex(-1);  // no entry selected
  EXPECT_EQ(list.ListIndex(), -1);
  EXPECT_EQ(harness->ShownText(kList), "");
  EXPECT_EQ(recorder.log.size(), 4u);
}

TEST_F(Contract, UserChoiceRaisesClickOnce) {
  ComboBox& list = form.ComboBoxAt(kList);
  for (const char* item : {"50", "49", "48"}) list.AddItem(item);
  list.SetListIndex(0);
  recorder.log.clear();
  harness->ChooseNextEntry(kList);
  EXPECT_EQ(list.ListIndex(), 1);
  EXPECT_EQ(Count("Click 4"), 1);
}

TEST_F(Contract, TextRoundTripsUnicodeWithoutALengthLimit) {
  TextBox& text = form.TextBoxAt(kText);
  text.SetText("Ёё!\"\\`|~абв&");
  EXPECT_EQ(text.Text(), "Ёё!\"\\`|~абв&");
  EXPECT_EQ(harness->ShownText(kText), "Ёё!\"\\`|~абв&");
  const std::string longText(100000, 'x');
  text.SetText(longText);
  EXPECT_EQ(text.Text(), longText);
}

TEST_F(Contract, LabelShowsItsCaptionLiterallyAndReportsLeftClicks) {
  EXPECT_EQ(harness->ShownText(kLabel), "a&b<i>c</i>");
  harness->ClickLabel(kLabel);
  EXPECT_EQ(recorder.log, (Log{"Click 6", "end Click 6"}));
  harness->ClickLabel(kLabel, /*rightButton=*/true);
  EXPECT_EQ(recorder.log.size(), 2u);
  harness->DoubleClickLabel(kLabel);  // one Click; the second half is a DblClick, unhandled
  EXPECT_EQ(Count("Click 6"), 2);
}

TEST_F(Contract, KeysReachTheLogicFromEveryFocusableControl) {
  harness->PressKey(kText, kKeyF5);
  harness->PressKey(kBoxA, kKeyEscape);
  harness->PressKey(kList, kKeyF2);
  EXPECT_EQ(recorder.log, (Log{"KeyDown 5 116 0", "KeyDown 2 27 0", "KeyDown 4 113 0"}));
}

// An open list has the keys: Esc closes the list and reaches no handler; the next Esc does.
TEST_F(Contract, EscapeInAnOpenListClosesTheListOnly) {
  if (!harness->HasScreen()) GTEST_SKIP() << "nothing drawn";
  ComboBox& list = form.ComboBoxAt(kList);
  for (const char* item : {"50", "49", "48"}) list.AddItem(item);
  list.SetListIndex(0);
  recorder.log.clear();
  harness->OpenList(kList);
  ASSERT_TRUE(harness->ListOpen(kList));
  harness->PressKeyWhereFocused(kKeyEscape);
  EXPECT_FALSE(harness->ListOpen(kList));
  EXPECT_TRUE(recorder.log.empty());
  harness->PressKeyWhereFocused(kKeyEscape);
  EXPECT_EQ(recorder.log, (Log{"KeyDown 4 27 0"}));
}

TEST_F(Contract, TabVisitsFocusableControlsInTabIndexOrderAndRoundAgain) {
  if (!harness->HasScreen()) GTEST_SKIP() << "nothing drawn";
  // boxB 1, boxA 2, list 3, text 4, boxC 5; the label (0) and the frames never take it.
  EXPECT_EQ(harness->FocusAfterTab(kBoxB), kBoxA);
  EXPECT_EQ(harness->FocusAfterTab(kBoxA), kList);
  EXPECT_EQ(harness->FocusAfterTab(kList), kText);
  EXPECT_EQ(harness->FocusAfterTab(kText), kBoxC);
  EXPECT_EQ(harness->FocusAfterTab(kBoxC), kBoxB);
}

TEST_F(Contract, ControlsStandAtTheirPlaceThroughNestedFrames) {
  if (!harness->HasScreen()) GTEST_SKIP() << "nothing drawn";
  EXPECT_EQ(harness->ClientArea(), (PixelRect{0, 0, 300, 300}));
  EXPECT_EQ(harness->RectOf(kFrame), (PixelRect{6, 6, 200, 200}));
  EXPECT_EQ(harness->RectOf(kBoxA), (PixelRect{12, 24, 100, 15}));
  EXPECT_EQ(harness->RectOf(kText), (PixelRect{6, 220, 200, 17}));
  EXPECT_EQ(harness->RectOf(kLabel), (PixelRect{12, 106, 100, 19}));
  EXPECT_EQ(harness->RectOf(kList).left, 12);  // a closed list's height is its font's on Windows
  EXPECT_EQ(harness->RectOf(kList).top, 66);
  EXPECT_EQ(harness->RectOf(kInner), (PixelRect{119, 19, 80, 67}));
  EXPECT_EQ(harness->RectOf(kBoxC), (PixelRect{125, 37, 67, 15}));  // 1000 twips: 66.7
  EXPECT_EQ(harness->ControlAt(130, 44), kBoxC);  // above both frames that hold it
}

// Ticks come every interval and never early, none after the timer stops, and a timer restarted
// part-way through an interval waits a whole one again.
TEST_F(Contract, TimerFiresEveryIntervalAndARestartWaitsAFullOne) {
  using Clock = std::chrono::steady_clock;
  constexpr auto kInterval = std::chrono::milliseconds(60);
  Timer& timer = form.TimerAt(kTimer);
  EXPECT_FALSE(timer.Enabled());
  std::vector<Clock::time_point> ticks;
  recorder.onTimer = [&] {
    ticks.push_back(Clock::now());
    if (ticks.size() == 3) timer.SetEnabled(false);
  };
  const auto start = Clock::now();
  timer.SetEnabled(true);
  EXPECT_TRUE(timer.Enabled());
  ASSERT_TRUE(harness->WaitFor([&] { return ticks.size() >= 3; }, 30000));
  for (std::size_t i = 0; i < ticks.size(); ++i) {
    EXPECT_GE(ticks[i] - start, kInterval * (i + 1)) << "tick " << i;
  }
  ASSERT_TRUE(harness->Settle(150));  // a timer still running would have ticked before this
  EXPECT_EQ(ticks.size(), 3u);
  EXPECT_FALSE(timer.Enabled());

  // Restarted before its first tick: the next tick is a whole interval after the restart. A
  // round whose restart came too late to be part-way (a slow machine) does not count.
  for (int round = 0; round < 20; ++round) {
    const std::size_t before = ticks.size();
    timer.SetEnabled(true);
    const auto enabled = Clock::now();
    ASSERT_TRUE(harness->Settle(20));
    const auto restart = Clock::now();
    timer.SetEnabled(false);
    timer.SetEnabled(true);
    const bool partWay = ticks.size() == before && restart - enabled < kInterval * 3 / 4;
    ASSERT_TRUE(harness->WaitFor([&] { return ticks.size() > before; }, 30000));
    timer.SetEnabled(false);
    if (!partWay) continue;
    EXPECT_GE(ticks[before] - restart, kInterval) << "after the restart";
    return;
  }
  FAIL() << "no restart came part-way through an interval in 20 rounds";
}

TEST_F(Contract, HeldRandomnessIsDiscardedBeforeTheLoopWaits) {
  if (!harness->HasScreen()) GTEST_SKIP() << "no event loop to wait in";
  random.discards = 0;
  harness->WaitFor([] { return false; }, 30);
  EXPECT_GT(random.discards, 0);
}

TEST_F(Contract, NothingIsDeliveredAfterEnd) {
  form.TimerAt(kTimer).SetEnabled(true);
  runtime.End();
  EXPECT_TRUE(runtime.Ended());
  EXPECT_EQ(runtime.ExitStatus(), 0);
  EXPECT_FALSE(harness->WindowVisible());
  form.CheckBoxAt(kBoxA).SetValue(1);
  harness->ClickCheckBox(kBoxB);
  ASSERT_TRUE(harness->Settle(150));  // the timer's interval twice over
  EXPECT_TRUE(recorder.log.empty());
}

// What a handler throws never crosses the toolkit: the window goes before the user is told
// why, nothing reaches the logic any more, and the program ends with status 1.
TEST_F(Contract, AHandlerThatFailsEndsTheProgramWithAMessage) {
  form.TimerAt(kTimer).SetEnabled(true);
  recorder.onClick = [](std::size_t slot) {
    if (slot == kBoxA) throw std::runtime_error("проба");
  };
  bool visibleDuringMessage = true;
  bool settled = false;
  const std::string message = harness->ReadMessageDuring(
      [&] { harness->ClickCheckBox(kBoxA); },
      [&] {
        visibleDuringMessage = harness->WindowVisible();
        harness->ClickCheckBox(kBoxB);
        settled = harness->Settle(150);  // the timer's interval twice over
      });
  EXPECT_EQ(message, "Проба остановлена. Причина: проба");
  EXPECT_TRUE(settled);
  EXPECT_FALSE(visibleDuringMessage);
  EXPECT_EQ(recorder.log, (Log{"Click 2"}));  // the failed click, then nothing
  EXPECT_TRUE(runtime.Ended());
  EXPECT_EQ(runtime.ExitStatus(), 1);
  EXPECT_FALSE(harness->WindowVisible());
}

// The texts are the program's: a failure that gives no reason is told in its words too.
TEST_F(Contract, AFailureWithoutAReasonIsToldInTheProgramsWords) {
  recorder.onClick = [](std::size_t) { throw 42; };
  EXPECT_EQ(harness->ReadMessageDuring([&] { harness->ClickCheckBox(kBoxA); }),
            "Проба остановлена. Причина: неизвестно");
  EXPECT_EQ(runtime.ExitStatus(), 1);
}

// The recorder's Unload does not end the process: the last unloaded form does, with 0, and
// the loop then ends. The window closes from inside the loop (the fake has none: its timer
// ticks as the harness waits).
TEST_F(Contract, ClosingTheWindowRaisesUnloadAndEndsTheProcessAndItsLoop) {
  form.TimerAt(kTimer).SetEnabled(true);
  recorder.onTimer = [&] { harness->CloseWindow(); };
  // A loop that never ends would hang the suite: a watchdog ends the test program instead.
  const auto loopDone = std::make_shared<std::atomic<bool>>(false);
  std::thread([loopDone] {
    for (int i = 0; i < 600 && !*loopDone; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    if (!*loopDone) {
      std::fputs("the loop did not end when the window closed\n", stderr);
      std::_Exit(1);
    }
  }).detach();
  runtime.Run(form);
  *loopDone = true;
  EXPECT_TRUE(harness->WaitFor([&] { return runtime.Ended(); }, 30000));
  EXPECT_EQ(Count("Unload"), 1);
  EXPECT_FALSE(harness->WindowVisible());
  EXPECT_EQ(runtime.ExitStatus(), 0);
}

TEST_F(Contract, AskingForTheWrongKindIsAProgrammingError) {
  EXPECT_THROW(form.CheckBoxAt(kList), std::logic_error);
  EXPECT_THROW(form.TextBoxAt(kLabel), std::logic_error);
  EXPECT_THROW(form.TimerAt(kFrame), std::logic_error);
}

}  // namespace
}  // namespace tolvane::runtime
