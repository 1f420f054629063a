#include <gtest/gtest.h>
#include <unistd.h>

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <array>
#include <functional>

#include "contract_form.h"
#include "runtime/keys.h"
#include "runtime/qt/qt_runtime.h"
#include "test_random.h"

namespace tolvane::runtime {
namespace {

using namespace testing::contract;
using testing::Recorder;

std::string UniqueInstanceName() {
  static int counter = 0;
  return "tolvane-contract-test-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
}

class QtContract : public ::testing::Test {
 protected:
  void SetUp() override {
    runtime.Start(form);
    recorder.log.clear();
  }
  template <typename W>
  W& Widget(std::size_t slot) {
    return *static_cast<W*>(form.WidgetAt(slot));
  }

  testing::SeededSource random{1};
  QtRuntime runtime{UniqueInstanceName(), &random};
  Recorder recorder;
  QtForm& form = static_cast<QtForm&>(runtime.CreateForm(kForm, recorder));
};

TEST_F(QtContract, ValueWriteRaisesClickOnlyWhenItChanges) {
  CheckBox& box = form.CheckBoxAt(kBoxA);
  std::int16_t seenInside = -1;
  recorder.onClick = [&](std::size_t) { seenInside = box.Value(); };
  box.SetValue(0);  // already 0
  EXPECT_TRUE(recorder.log.empty());
  box.SetValue(1);
  EXPECT_EQ(recorder.log, (std::vector<std::string>{"Click 2", "end Click 2"}));
  EXPECT_EQ(seenInside, 1);  // the new value is visible inside the handler
  EXPECT_TRUE(Widget<QCheckBox>(kBoxA).isChecked());
  box.SetValue(1);
  EXPECT_EQ(recorder.log.size(), 2u);
}

TEST_F(QtContract, UserClickFlipsTheBoxAndRaisesClickOnce) {
  QCheckBox& widget = Widget<QCheckBox>(kBoxB);
  QTest::mouseClick(&widget, Qt::LeftButton, {}, QPoint(6, widget.height() / 2));
  EXPECT_EQ(form.CheckBoxAt(kBoxB).Value(), 0);
  EXPECT_EQ(recorder.log, (std::vector<std::string>{"Click 3", "end Click 3"}));
  widget.setFocus();
  QTest::keyClick(&widget, Qt::Key_Space);
  EXPECT_EQ(form.CheckBoxAt(kBoxB).Value(), 1);
  EXPECT_EQ(std::count(recorder.log.begin(), recorder.log.end(), "Click 3"), 2);
}

TEST_F(QtContract, EventsNestInsideTheWriteThatRaisesThem) {
  CheckBox& a = form.CheckBoxAt(kBoxA);
  CheckBox& b = form.CheckBoxAt(kBoxB);
  recorder.onClick = [&](std::size_t slot) {
    if (slot == kBoxA) b.SetValue(0);
  };
  a.SetValue(1);
  EXPECT_EQ(recorder.log,
            (std::vector<std::string>{"Click 2", "Click 3", "end Click 3", "end Click 2"}));
}

TEST_F(QtContract, ListIndexWriteSelectsAndRaisesClick) {
  ComboBox& list = form.ComboBoxAt(kList);
  for (const char* item : {"50", "49", "48"}) list.AddItem(item);
  EXPECT_EQ(list.ListIndex(), 0);  // Qt selects the first entry added
  int seenInside = -2;
  recorder.onClick = [&](std::size_t) { seenInside = list.ListIndex(); };
  list.SetListIndex(2);
  EXPECT_EQ(seenInside, 2);
  EXPECT_EQ(Widget<QComboBox>(kList).currentText().toStdString(), "48");
  EXPECT_EQ(recorder.log, (std::vector<std::string>{"Click 4", "end Click 4"}));
  list.SetListIndex(7);  // no such entry: ignored
  EXPECT_EQ(list.ListIndex(), 2);
  EXPECT_EQ(recorder.log.size(), 2u);
}

TEST_F(QtContract, UserChoiceRaisesClickOnce) {
  ComboBox& list = form.ComboBoxAt(kList);
  for (const char* item : {"50", "49", "48"}) list.AddItem(item);
  QComboBox& widget = Widget<QComboBox>(kList);
  widget.setFocus();
  QTest::keyClick(&widget, Qt::Key_Down);
  EXPECT_EQ(list.ListIndex(), 1);
  EXPECT_EQ(std::count(recorder.log.begin(), recorder.log.end(), "Click 4"), 1);
}

TEST_F(QtContract, TextRoundTripsUnicode) {
  TextBox& text = form.TextBoxAt(kText);
  text.SetText("Ёё!\"\\`|~абв");
  EXPECT_EQ(text.Text(), "Ёё!\"\\`|~абв");
  EXPECT_EQ(Widget<QLineEdit>(kText).text(), QString::fromUtf8("Ёё!\"\\`|~абв"));
  const std::string longText(100000, 'x');
  text.SetText(longText);
  EXPECT_EQ(text.Text(), longText);  // no length limit
}

TEST_F(QtContract, LabelShowsPlainTextAndReportsClicks) {
  QLabel& label = Widget<QLabel>(kLabel);
  EXPECT_EQ(label.textFormat(), Qt::PlainText);
  EXPECT_EQ(label.text(), "a&b<i>c</i>");
  QTest::mouseClick(&label, Qt::LeftButton);
  EXPECT_EQ(recorder.log, (std::vector<std::string>{"Click 6", "end Click 6"}));
  QTest::mouseClick(&label, Qt::RightButton);
  EXPECT_EQ(recorder.log.size(), 2u);
}

TEST_F(QtContract, KeysReachTheFocusedControlAsVirtualCodes) {
  QLineEdit& edit = Widget<QLineEdit>(kText);
  QTest::keyClick(&edit, Qt::Key_F5);
  QTest::keyClick(&edit, Qt::Key_F2, Qt::ShiftModifier);
  QTest::keyClick(&Widget<QCheckBox>(kBoxA), Qt::Key_Escape);
  QTest::keyClick(&Widget<QComboBox>(kList), Qt::Key_F5, Qt::ControlModifier);
  // Modifier keys raise their own KeyDown first (16 Shift, 17 Ctrl).
  EXPECT_EQ(recorder.log,
            (std::vector<std::string>{"KeyDown 5 116 0", "KeyDown 5 16 1", "KeyDown 5 113 1",
                                      "KeyDown 2 27 0", "KeyDown 4 17 2", "KeyDown 4 116 2"}));
}

TEST_F(QtContract, TabVisitsFocusableControlsInTabIndexOrder) {
  QWidget* first = form.WidgetAt(kBoxB);
  EXPECT_EQ(first->nextInFocusChain(), form.WidgetAt(kBoxA));
  EXPECT_EQ(form.WidgetAt(kBoxA)->nextInFocusChain(), form.WidgetAt(kList));
  EXPECT_EQ(form.WidgetAt(kList)->nextInFocusChain(), form.WidgetAt(kText));
  EXPECT_EQ(form.WidgetAt(kLabel)->focusPolicy(), Qt::NoFocus);
  EXPECT_EQ(form.WidgetAt(kFrame)->focusPolicy(), Qt::NoFocus);
}

TEST_F(QtContract, TimerFiresEveryIntervalAndNeverEarly) {
  Timer& timer = form.TimerAt(kTimer);
  EXPECT_FALSE(timer.Enabled());
  QElapsedTimer clock;
  std::vector<qint64> ticks;
  recorder.onTimer = [&] {
    ticks.push_back(clock.nsecsElapsed());
    if (ticks.size() == 3) timer.SetEnabled(false);
  };
  clock.start();
  timer.SetEnabled(true);
  EXPECT_TRUE(timer.Enabled());
  ASSERT_TRUE(QTest::qWaitFor([&] { return ticks.size() >= 3; }, 5000));
  ASSERT_EQ(ticks.size(), 3u);
  for (std::size_t i = 0; i < ticks.size(); ++i) {
    EXPECT_GE(ticks[i], static_cast<qint64>(i + 1) * 60'000'000) << "tick " << i;
  }
  QTest::qWait(150);
  EXPECT_EQ(ticks.size(), 3u);  // stopped
  EXPECT_FALSE(timer.Enabled());
}

TEST_F(QtContract, RestartingTheTimerStartsAFullInterval) {
  Timer& timer = form.TimerAt(kTimer);
  QElapsedTimer clock;
  qint64 firedAt = -1;
  recorder.onTimer = [&] {
    firedAt = clock.nsecsElapsed();
    timer.SetEnabled(false);
  };
  timer.SetEnabled(true);
  QTest::qWait(40);
  clock.start();
  timer.SetEnabled(false);
  timer.SetEnabled(true);
  ASSERT_TRUE(QTest::qWaitFor([&] { return firedAt >= 0; }, 5000));
  EXPECT_GE(firedAt, 60'000'000);
}

TEST_F(QtContract, NothingIsDeliveredAfterEnd) {
  form.TimerAt(kTimer).SetEnabled(true);
  runtime.End();
  EXPECT_TRUE(runtime.Ended());
  EXPECT_FALSE(form.Window().isVisible());
  form.CheckBoxAt(kBoxA).SetValue(1);
  QTest::keyClick(&Widget<QLineEdit>(kText), Qt::Key_F5);
  QTest::qWait(100);
  EXPECT_TRUE(recorder.log.empty());
}

TEST_F(QtContract, ClosingTheWindowRaisesUnload) {
  form.Window().close();
  EXPECT_EQ(recorder.log, (std::vector<std::string>{"Unload"}));
}

TEST_F(QtContract, AskingForTheWrongKindIsAProgrammingError) {
  EXPECT_THROW(form.CheckBoxAt(kList), std::logic_error);
  EXPECT_THROW(form.TextBoxAt(kLabel), std::logic_error);
  EXPECT_THROW(form.TimerAt(kFrame), std::logic_error);
}

}  // namespace
}  // namespace tolvane::runtime
