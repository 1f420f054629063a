// On a real X display (run under with_xvfb.sh): what the program puts on the clipboard, and
// how its serving ends.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <memory>

#include "qt_driven_runtime.h"
#include "runtime/qt/qt_secret_copy.h"
#include "runtime_harness.h"
#include "test_random.h"
#include "window/frm_main.h"
#include "window/frm_main_layout.h"

namespace tolvane::window {
namespace {

const QMimeData* ClipboardData() {
  return QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
}

class X11Clipboard : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    runtime.Start(runtime.LastForm());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&runtime.Window()));
  }
  QLineEdit& result(int i) {
    return *static_cast<QLineEdit*>(runtime.WidgetAt(ctl::txtResults(i)));
  }

  testing::SeededSource random{5};
  testing::FixedInstance instance;
  testing::QtDrivenRuntime runtime{{random, instance}};
  frmMain form{runtime};
};

TEST_F(X11Clipboard, CopiesFromAResultBoxAreMarkedSecret) {
  QLineEdit& box = result(2);

  QGuiApplication::clipboard()->clear();
  box.setFocus();
  box.selectAll();
  QTest::keySequence(&box, QKeySequence::Copy);
  ASSERT_NE(ClipboardData(), nullptr);
  EXPECT_EQ(ClipboardData()->text(), box.text());
  EXPECT_EQ(ClipboardData()->data(runtime::kPasswordManagerHint), "secret");

  // Cut from the context menu: the same hint; the text leaves the box as usual.
  QLineEdit& other = result(5);
  const QString password = other.text();
  other.selectAll();
  std::unique_ptr<QMenu> menu(other.createStandardContextMenu());
  // The menu names no action; the cut entry is the one that shows the cut shortcut.
  const QString cutKeys = QKeySequence(QKeySequence::Cut).toString(QKeySequence::NativeText);
  QAction* cut = nullptr;
  for (QAction* action : menu->actions()) {
    if (action->text().endsWith("\t" + cutKeys)) cut = action;
  }
  ASSERT_NE(cut, nullptr);
  cut->trigger();
  EXPECT_EQ(other.text(), "");
  EXPECT_EQ(ClipboardData()->text(), password);
  EXPECT_EQ(ClipboardData()->data(runtime::kPasswordManagerHint), "secret");

  // Selecting puts the text in the X selection: marked the same way.
  other.setText(password);
  other.selectAll();
  if (QGuiApplication::clipboard()->supportsSelection()) {
    const QMimeData* selection = QGuiApplication::clipboard()->mimeData(QClipboard::Selection);
    ASSERT_NE(selection, nullptr);
    EXPECT_EQ(selection->data(runtime::kPasswordManagerHint), "secret");
  }
  other.clear();

  // And it pastes back as plain text.
  QTest::keySequence(&other, QKeySequence::Paste);
  EXPECT_EQ(other.text(), password);

  // What another program copies stays that program's, unmarked: looked at once the program
  // has heard of the change (its own handler runs first).
  QSignalSpy changed(QGuiApplication::clipboard(), &QClipboard::changed);
  QProcess xclip;
  xclip.start("xclip", {"-quiet", "-selection", "clipboard", "-i"});
  ASSERT_TRUE(xclip.waitForStarted());
  xclip.write("foreign");
  xclip.closeWriteChannel();
  EXPECT_TRUE(QTest::qWaitFor(
      [&] {
        return std::any_of(changed.begin(), changed.end(), [](const QList<QVariant>& args) {
          return args.at(0).value<QClipboard::Mode>() == QClipboard::Clipboard;
        });
      },
      30000));
  ASSERT_NE(ClipboardData(), nullptr);
  EXPECT_EQ(ClipboardData()->text(), "foreign");
  EXPECT_FALSE(ClipboardData()->hasFormat(runtime::kPasswordManagerHint));
  EXPECT_FALSE(QGuiApplication::clipboard()->ownsClipboard());
  xclip.kill();
  xclip.waitForFinished();
}

// Once the window has gone, a signal that asks the process to end (a logout, a kill) ends the
// serving with the copy overwritten.
TEST_F(X11Clipboard, ASignalEndsTheServingWithTheCopyOverwritten) {
  QLineEdit& box = result(1);
  box.selectAll();
  box.copy();
  ASSERT_TRUE(QTest::qWaitFor([] { return runtime::HoldsSecretCopy(); }, 30000));
  const QMimeData* copy = ClipboardData();
  const QString format = QStringLiteral("text/plain");
  const QByteArray password = box.text().toUtf8();
  ASSERT_EQ(copy->data(format), password);
  QTimer::singleShot(0, [] { raise(SIGTERM); });
  runtime::ServeSecretCopy(0, [&] { runtime.Window().hide(); });  // returns as the signal ends it
  ASSERT_TRUE(runtime::HoldsSecretCopy()) << "nobody else took the clipboard";
  EXPECT_EQ(copy->data(format), QByteArray(password.size(), '\0'));
}

}  // namespace
}  // namespace tolvane::window
