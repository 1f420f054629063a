// The window as a Wayland client (under a headless Weston): a compositor or a title bar may
// ask for any window state; the connection survives, the controls keep their places, and
// restored the window has its designed size again.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QTest>
#include <QWindow>

#include "runtime/qt/qt_runtime.h"
#include "runtime_harness.h"
#include "test_random.h"
#include "window/frm_main.h"
#include "window/frm_main_layout.h"

namespace tolvane::window {
namespace {

TEST(Wayland, MaximiseFullscreenAndRestoreKeepTheWindowAndItsLayout) {
  ASSERT_TRUE(QGuiApplication::platformName().startsWith("wayland"));
  testing::SeededSource random{7};
  testing::FixedInstance instance;
  runtime::QtRuntime runtime({random, instance});
  frmMain form(runtime);
  runtime.Start(runtime.LastForm());
  QWidget& window = runtime.LastForm().Window();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QWidget* lastBox = runtime.LastForm().WidgetAt(ctl::txtResults(10));
  const QRect boxAt = lastBox->geometry();

  for (Qt::WindowState state : {Qt::WindowMaximized, Qt::WindowFullScreen, Qt::WindowNoState,
                                Qt::WindowMaximized, Qt::WindowNoState}) {
    window.windowHandle()->setWindowStates(state);
    // Until the compositor has answered; a protocol error would end this process.
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.windowState() == state; }, 5000))
        << "state " << state;
    EXPECT_EQ(lastBox->geometry(), boxAt) << "state " << state;
  }
  EXPECT_TRUE(QTest::qWaitFor([&] { return window.size() == QSize(451, 403); }, 5000))
      << window.size().width() << " x " << window.size().height();
  EXPECT_FALSE(runtime.Ended());
}

}  // namespace
}  // namespace tolvane::window
