// Thousands of random user actions on the running window, with a fixed seed: clicks on every
// control, list choices, F5 and F2, Unicode typed and a megabyte pasted into result boxes,
// timer ticks. After each action the window must still run and hold its invariants.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <set>

#include "generator/character_table.h"
#include "qt_driven_runtime.h"
#include "runtime_harness.h"
#include "test_random.h"
#include "window/frm_main.h"
#include "window/frm_main_layout.h"

namespace tolvane::window {
namespace {

constexpr int kActions = 4000;

class Monkey {
 public:
  Monkey() : runtime_({passwords_, instance_}), form_(runtime_) {
    runtime_.Start(runtime_.LastForm());
  }

  // Rare: a megabyte pasted (1 in 200) and a tick as the timer delivers it (6 in 200).
  void Act() {
    const int rare = Below(200);
    if (rare == 0) return PasteMegabyte();
    if (rare <= 6) return Form().Port().TimerTick(ctl::tmrSelect);
    switch (Below(6)) {
      case 0:
        return ClickSomewhere();
      case 1:
        return ChooseFromList();
      case 2:
        return PressRefreshKey();
      case 3:
        return TypeUnicode();
      case 4:
        return ToggleBySpace();
      default:
        return ClickLabel();
    }
  }

  // Everything the window promises, whatever happened before.
  void CheckInvariants() {
    ASSERT_FALSE(runtime_.Ended());
    ASSERT_TRUE(runtime_.Window().isVisible());
    const std::array<std::int16_t, 6> flags{form_.UseDigits,  form_.UseEngUpper, form_.UseEngLower,
                                            form_.UseSpecial, form_.UseRusUpper, form_.UseRusLower};
    const std::array<std::size_t, 6> boxes{ctl::chA, ctl::chB, ctl::chC,
                                           ctl::chD, ctl::chE, ctl::chF};
    std::set<char32_t> allowed;
    for (std::size_t i = 0; i < 6; ++i) {
      ASSERT_TRUE(flags[i] == 0 || flags[i] == 1);
      ASSERT_EQ(flags[i] == 1, Box(boxes[i]).isChecked()) << "flag " << i;
      if (flags[i]) allowed.insert(kClassCharacters[i].begin(), kClassCharacters[i].end());
    }
    const int a = Bound(ctl::cmbSizeA), b = Bound(ctl::cmbSizeB);
    for (int i = 1; i <= 10; ++i) {
      if (touched_.count(i)) continue;  // the user's own text
      const std::u32string text = Result(i).text().toStdU32String();
      if (allowed.empty()) {
        ASSERT_TRUE(text.empty()) << "box " << i;
        continue;
      }
      ASSERT_GE(static_cast<int>(text.size()), std::min(a, b)) << "box " << i;
      ASSERT_LE(static_cast<int>(text.size()), std::max(a, b)) << "box " << i;
      for (char32_t c : text) ASSERT_TRUE(allowed.count(c)) << "box " << i;
    }
    for (auto [latin, cyrillic] : {std::pair{ctl::chB, ctl::chE}, std::pair{ctl::chC, ctl::chF}}) {
      const bool latinRed = Red(latin), cyrillicRed = Red(cyrillic);
      ASSERT_EQ(latinRed, cyrillicRed) << "a pair is red on one side only";
      if (latinRed) {
        ASSERT_TRUE(Box(latin).isChecked() && Box(cyrillic).isChecked()) << "red with a side off";
        ASSERT_TRUE(form_.tmrSelect.Enabled()) << "red with no timer to end it";
      }
    }
  }

  int pastes = 0;

 private:
  runtime::ToolkitForm& Form() { return runtime_.LastForm(); }
  QWidget* At(std::size_t slot) { return runtime_.WidgetAt(slot); }
  QCheckBox& Box(std::size_t slot) { return *static_cast<QCheckBox*>(At(slot)); }
  QLineEdit& Result(int i) { return *static_cast<QLineEdit*>(At(ctl::txtResults(i))); }
  int Bound(std::size_t list) { return static_cast<QComboBox*>(At(list))->currentText().toInt(); }
  bool Red(std::size_t box) {
    return Box(box).palette().color(QPalette::WindowText) == QColor(192, 0, 0);
  }
  std::array<bool, 6> Checks() {
    return {Box(ctl::chA).isChecked(), Box(ctl::chB).isChecked(), Box(ctl::chC).isChecked(),
            Box(ctl::chD).isChecked(), Box(ctl::chE).isChecked(), Box(ctl::chF).isChecked()};
  }
  // Every passwords box is fresh after a refresh; the actions below call this only when one
  // surely happened.
  void Refreshed() { touched_.clear(); }
  void CloseAnyPopup() {
    while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  }
  int Below(int n) { return static_cast<int>(UniformBelow(choice_, n)); }

  void ClickSomewhere() {
    const auto checks = Checks();
    std::size_t slot = Below(ctl::count);
    if (slot == ctl::tmrSelect) slot = ctl::frOptions;
    QWidget* widget = At(slot);
    const QPoint point(Below(widget->width()), Below(widget->height()));
    QTest::mouseClick(widget, Qt::LeftButton, {}, point);
    CloseAnyPopup();
    if (Checks() != checks) Refreshed();
  }

  void ClickLabel() {
    const std::size_t labels[] = {ctl::lblA, ctl::lblB, ctl::lblC, ctl::lblD, ctl::lblE, ctl::lblF};
    QTest::mouseClick(At(labels[Below(6)]), Qt::LeftButton);
    Refreshed();
  }

  void ChooseFromList() {
    auto* list = static_cast<QComboBox*>(At(Below(2) ? ctl::cmbSizeA : ctl::cmbSizeB));
    const Qt::Key keys[] = {Qt::Key_Down,   Qt::Key_Up,   Qt::Key_PageDown,
                            Qt::Key_PageUp, Qt::Key_Home, Qt::Key_End};
    const int before = list->currentIndex();
    list->setFocus();
    QTest::keyClick(list, keys[Below(6)]);
    CloseAnyPopup();
    if (list->currentIndex() != before) Refreshed();
  }

  void PressRefreshKey() {
    const std::size_t targets[] = {ctl::chA, ctl::chE, ctl::cmbSizeA, ctl::cmbSizeB,
                                   ctl::txtResults(1 + Below(10))};
    QWidget* target = At(targets[Below(5)]);
    QTest::keyClick(target, Below(2) ? Qt::Key_F5 : Qt::Key_F2,
                    Below(4) == 0 ? Qt::ShiftModifier : Qt::NoModifier);
    Refreshed();
  }

  void ToggleBySpace() {
    const std::size_t boxes[] = {ctl::chA, ctl::chB, ctl::chC, ctl::chD, ctl::chE, ctl::chF};
    QWidget* box = At(boxes[Below(6)]);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Space);
    Refreshed();
  }

  // Any code point: controls, Cyrillic, symbols, surrogate pairs from the astral planes.
  void TypeUnicode() {
    const int index = 1 + Below(10);
    QLineEdit& box = Result(index);
    box.setFocus();
    for (int n = 1 + Below(12); n > 0; --n) {
      char32_t c = static_cast<char32_t>(Below(0x110000));
      if (c >= 0xD800 && c <= 0xDFFF) c = 0xFFFD;  // lone surrogates are not characters
      const QString text = QString::fromUcs4(&c, 1);
      QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
      QApplication::sendEvent(&box, &press);
      QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, text);
      QApplication::sendEvent(&box, &release);
    }
    touched_.insert(index);
  }

  void PasteMegabyte() {
    const int index = 1 + Below(10);
    QLineEdit& box = Result(index);
    QApplication::clipboard()->setText(QString(1 << 20, QChar(u'Ж')));
    box.setFocus();
    QTest::keySequence(&box, QKeySequence::Paste);
    touched_.insert(index);
    ++pastes;
  }

  testing::SeededSource passwords_{1};
  testing::SeededSource choice_{20261207};
  testing::FixedInstance instance_;
  testing::QtDrivenRuntime runtime_;
  frmMain form_;
  std::set<int> touched_;
};

TEST(Robustness, ThousandsOfRandomActionsKeepTheWindowSound) {
  Monkey monkey;
  monkey.CheckInvariants();
  for (int step = 0; step < kActions; ++step) {
    SCOPED_TRACE("action " + std::to_string(step));
    monkey.Act();
    monkey.CheckInvariants();
    if (::testing::Test::HasFatalFailure()) return;
  }
  EXPECT_GT(monkey.pastes, 5);
}

}  // namespace
}  // namespace tolvane::window
