// frmMain on the real Qt runtime: what the user sees and the keys they press.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QCheckBox>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "runtime/qt/qt_runtime.h"
#include "utf8.h"
#include "window/frm_main.h"
#include "window/frm_main_layout.h"

namespace tolvane::window {
namespace {

using runtime::QtForm;
using runtime::QtRuntime;

std::string InstanceName(const char* test) {
  return std::string("tolvane-window-test-") + std::to_string(getpid()) + "-" + test;
}

// A runtime whose one form the test can reach.
struct Running {
  explicit Running(const char* test) : runtime(InstanceName(test)), form(runtime) {}
  QtForm& qtForm() { return static_cast<QtForm&>(runtime.LastForm()); }
  QLineEdit& Result(int index) {
    return *static_cast<QLineEdit*>(qtForm().WidgetAt(ctl::txtResults(index)));
  }
  QtRuntime runtime;
  frmMain form;
};

TEST(QtFrmMain, BeforeLoadTheControlsStandAsCreated) {
  Running app("before-load");
  QtForm& form = app.qtForm();
  for (std::size_t box : {ctl::chA, ctl::chB, ctl::chC, ctl::chD, ctl::chE, ctl::chF}) {
    const bool checked = box != ctl::chE && box != ctl::chF;
    EXPECT_EQ(static_cast<QCheckBox*>(form.WidgetAt(box))->isChecked(), checked);
    EXPECT_EQ(form.CheckBoxAt(box).ForeColor(), runtime::kBlack);
  }
  EXPECT_EQ(form.ComboBoxAt(ctl::cmbSizeA).ListCount(), 0);
  EXPECT_EQ(form.ComboBoxAt(ctl::cmbSizeB).ListCount(), 0);
  for (int i = 1; i <= 10; ++i) EXPECT_EQ(app.Result(i).text(), "");
  EXPECT_FALSE(form.TimerAt(ctl::tmrSelect).Enabled());
  EXPECT_FALSE(form.Window().isVisible());
}

TEST(QtFrmMain, FirstShowHasTenPasswordsOfEightToTwelveDefaultCharacters) {
  Running app("first-show");
  app.runtime.Start(app.runtime.LastForm());
  EXPECT_TRUE(app.qtForm().Window().isVisible());
  EXPECT_EQ(app.qtForm().Window().windowTitle(), "Tolvane");
  for (int i = 1; i <= 10; ++i) {
    const std::u32string password = testing::FromUtf8(app.Result(i).text().toStdString());
    EXPECT_GE(password.size(), 8u);
    EXPECT_LE(password.size(), 12u);
    for (char32_t c : password) EXPECT_TRUE(c >= 0x21 && c <= 0x7E) << i;
  }
}

TEST(QtFrmMain, F5AndF2InAResultBoxReplaceAllTen) {
  Running app("refresh-keys");
  app.runtime.Start(app.runtime.LastForm());
  for (Qt::Key key : {Qt::Key_F5, Qt::Key_F2}) {
    std::vector<QString> before;
    for (int i = 1; i <= 10; ++i) before.push_back(app.Result(i).text());
    QTest::keyClick(&app.Result(4), key);
    for (int i = 1; i <= 10; ++i) EXPECT_NE(app.Result(i).text(), before[i - 1]) << i;
  }
}

TEST(QtFrmMain, EscapeEndsTheProgram) {
  Running app("escape");
  app.runtime.Start(app.runtime.LastForm());
  QTest::keyClick(app.qtForm().WidgetAt(ctl::cmbSizeB), Qt::Key_Escape);
  EXPECT_TRUE(app.runtime.Ended());
  EXPECT_FALSE(app.qtForm().Window().isVisible());
}

TEST(QtFrmMain, ClosingTheWindowEndsTheProgram) {
  Running app("close");
  app.runtime.Start(app.runtime.LastForm());
  app.qtForm().Window().close();
  EXPECT_TRUE(app.runtime.Ended());
}

TEST(QtFrmMain, SecondInstanceEndsBeforeItsWindowShows) {
  Running first("second-instance");
  first.runtime.Start(first.runtime.LastForm());
  Running second("second-instance");
  second.runtime.Start(second.runtime.LastForm());
  EXPECT_TRUE(second.runtime.Ended());
  EXPECT_FALSE(second.qtForm().Window().isVisible());
  EXPECT_EQ(second.Result(1).text(), "");
  EXPECT_FALSE(first.runtime.Ended());
  EXPECT_TRUE(first.qtForm().Window().isVisible());
}

QColor CaptionColour(QWidget* box) {
  return box->palette().color(QPalette::WindowText);
}

TEST(QtFrmMain, RealClicksOnLabelsAndBoxesSwitchClassesAndWarn) {
  Running app("clicks");
  app.runtime.Start(app.runtime.LastForm());
  QtForm& form = app.qtForm();
  const QColor red(192, 0, 0);
  const QColor black(0, 0, 0);

  QTest::mouseClick(form.WidgetAt(ctl::lblE), Qt::LeftButton);
  EXPECT_TRUE(static_cast<QCheckBox*>(form.WidgetAt(ctl::chE))->isChecked());
  EXPECT_EQ(app.form.UseRusUpper, 1);
  EXPECT_EQ(CaptionColour(form.WidgetAt(ctl::chB)), red);
  EXPECT_EQ(CaptionColour(form.WidgetAt(ctl::chE)), red);
  EXPECT_EQ(CaptionColour(form.WidgetAt(ctl::chC)), black);

  auto* chE = static_cast<QCheckBox*>(form.WidgetAt(ctl::chE));
  QTest::mouseClick(chE, Qt::LeftButton, {}, QPoint(6, chE->height() / 2));
  EXPECT_FALSE(chE->isChecked());
  EXPECT_EQ(app.form.UseRusUpper, 0);
  EXPECT_EQ(CaptionColour(form.WidgetAt(ctl::chB)), black);
  EXPECT_EQ(CaptionColour(form.WidgetAt(ctl::chE)), black);

  // Digits off by their label: no result box holds a digit any more.
  QTest::mouseClick(form.WidgetAt(ctl::lblA), Qt::LeftButton);
  EXPECT_EQ(app.form.UseDigits, 0);
  for (int i = 1; i <= 10; ++i) {
    for (QChar c : app.Result(i).text()) EXPECT_FALSE(c.isDigit()) << i;
  }
}

TEST(QtFrmMain, AllClassesOffLeavesTenEmptyBoxes) {
  Running app("all-off");
  app.runtime.Start(app.runtime.LastForm());
  for (std::size_t label : {ctl::lblA, ctl::lblB, ctl::lblC, ctl::lblD}) {
    QTest::mouseClick(app.qtForm().WidgetAt(label), Qt::LeftButton);
  }
  for (int i = 1; i <= 10; ++i) EXPECT_EQ(app.Result(i).text(), "");
  QTest::mouseClick(app.qtForm().WidgetAt(ctl::lblF), Qt::LeftButton);
  for (int i = 1; i <= 10; ++i) EXPECT_GE(app.Result(i).text().size(), 8);
}

}  // namespace
}  // namespace tolvane::window

namespace tolvane::window {
namespace {

TEST(QtFrmMain, RandomnessLeftOverFromARefreshIsWipedBeforeTheLoopWaits) {
  runtime::QtRuntime runtime(InstanceName("wipe"));
  frmMain form(runtime);
  runtime.Start(runtime.LastForm());
  const runtime::SystemRandomSource* source = runtime.SystemRandom();
  ASSERT_NE(source, nullptr);
  EXPECT_GT(source->BytesHeld(), 0u);  // the refreshes used part of a block
  QEventLoop loop;
  QTimer::singleShot(20, &loop, &QEventLoop::quit);
  loop.exec();  // blocks, so the dispatcher announces it
  EXPECT_EQ(source->BytesHeld(), 0u);
  for (std::uint8_t byte : source->Block()) ASSERT_EQ(byte, 0u);
}

}  // namespace
}  // namespace tolvane::window
