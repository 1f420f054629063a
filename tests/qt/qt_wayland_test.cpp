// The window as a Wayland client, under the compositor named in TOLVANE_COMPOSITOR (headless
// Weston, sway, mutter or KWin): its size is fixed, a maximised state is answered with a
// return to the normal one (three times in a row), a fullscreen one keeps the connection and the
// controls' places, and the window comes back to its designed size.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "qt_driven_runtime.h"
#include "runtime/qt/qt_secret_copy.h"
#include "runtime_harness.h"
#include "test_random.h"
#include "window/frm_main.h"
#include "window/frm_main_layout.h"

namespace tolvane::window {
namespace {

const QSize kDesigned(451, 403);
constexpr int kAnswerMs = 30000;  // a deadline, not a pause: a loaded machine may be slow

QString Compositor() {
  return qEnvironmentVariable("TOLVANE_COMPOSITOR");
}

bool AtDesignedSize(const QWidget& window) {
  return window.windowHandle()->windowStates() == Qt::WindowNoState &&
         window.windowState() == Qt::WindowNoState && window.size() == kDesigned &&
         window.minimumSize() == kDesigned && window.maximumSize() == kDesigned;
}

// sway's own account of this process's window: {floating, width, height}, or nothing yet.
std::optional<std::tuple<bool, int, int>> SwayView() {
  QProcess swaymsg;
  swaymsg.start(QStringLiteral("swaymsg"), {QStringLiteral("-t"), QStringLiteral("get_tree")});
  if (!swaymsg.waitForFinished(kAnswerMs)) return std::nullopt;
  std::optional<std::tuple<bool, int, int>> found;
  std::function<void(const QJsonObject&, bool)> walk = [&](const QJsonObject& node, bool floating) {
    if (node[QStringLiteral("pid")].toInteger() == QCoreApplication::applicationPid()) {
      const QJsonObject rect = node[QStringLiteral("window_rect")].toObject();
      found = {floating, rect[QStringLiteral("width")].toInt(),
               rect[QStringLiteral("height")].toInt()};
    }
    for (const auto& child : node[QStringLiteral("nodes")].toArray()) walk(child.toObject(), false);
    for (const auto& child : node[QStringLiteral("floating_nodes")].toArray())
      walk(child.toObject(), true);
  };
  walk(QJsonDocument::fromJson(swaymsg.readAllStandardOutput()).object(), false);
  return found;
}

// What wl-paste prints with these arguments; the event loop runs meanwhile, so this process
// can answer it.
QByteArray Paste(const QStringList& arguments) {
  QProcess paste;
  paste.start(QStringLiteral("wl-paste"), arguments);
  if (!QTest::qWaitFor([&] { return paste.state() == QProcess::NotRunning; }, kAnswerMs)) return {};
  return paste.readAllStandardOutput();
}

// Counts the window's changes into the maximised state and back to the normal one.
struct StateChanges final : QObject {
  explicit StateChanges(QWidget& window) { window.installEventFilter(this); }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::WindowStateChange) return false;
    const Qt::WindowStates now = static_cast<QWidget*>(watched)->windowState();
    const Qt::WindowStates before = static_cast<QWindowStateChangeEvent*>(event)->oldState();
    if ((now & Qt::WindowMaximized) && !(before & Qt::WindowMaximized)) ++maximised;
    if (now == Qt::WindowNoState && before != Qt::WindowNoState) ++returned;
    return false;
  }
  int maximised = 0;
  int returned = 0;
};

// The program's window, shown.
class Wayland : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QGuiApplication::platformName().startsWith("wayland"));
    runtime.Start(runtime.LastForm());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }

  testing::SeededSource random{7};
  testing::FixedInstance instance;
  testing::QtDrivenRuntime runtime{{random, instance}};
  frmMain form{runtime};
  QWidget& window = runtime.Window();
};

TEST_F(Wayland, TheWindowKeepsItsDesignedSizeWhateverStateIsAskedFor) {
  if (Compositor() == QLatin1String("weston-kiosk")) GTEST_SKIP() << "every window is fullscreen";
  EXPECT_TRUE(QTest::qWaitFor([&] { return AtDesignedSize(window); }, kAnswerMs));
  QWidget* lastBox = runtime.WidgetAt(ctl::txtResults(10));
  const QRect boxAt = lastBox->geometry();

  if (Compositor() == QLatin1String("sway")) {
    // A window of fixed size floats at that size instead of being tiled.
    const auto floating = std::make_tuple(true, kDesigned.width(), kDesigned.height());
    std::optional<std::tuple<bool, int, int>> view;
    EXPECT_TRUE(QTest::qWaitFor([&] { return (view = SwayView()) == floating; }, kAnswerMs))
        << (view ? std::get<0>(*view) : -1) << " " << (view ? std::get<1>(*view) : -1) << " x "
        << (view ? std::get<2>(*view) : -1);
  }

  // Three times, as the title bar's maximise button asks: the compositor answers (Weston and
  // mutter maximise, sway and KWin refuse), and the window ends in the normal state at its
  // size. A fourth time in a row it stays maximised, its controls in place: a shell that keeps
  // every window maximised (phone shells do) is not answered for ever.
  const bool maximises = Compositor() == QLatin1String("weston") || Compositor() == "mutter";
  StateChanges changes(window);
  for (int round = 0; round < 4; ++round) {
    window.windowHandle()->setWindowStates(Qt::WindowMaximized);
    if (maximises) {
      ASSERT_TRUE(QTest::qWaitFor([&] { return changes.maximised > round; }, kAnswerMs));
    }
    if (round < 3 || !maximises) {
      EXPECT_TRUE(QTest::qWaitFor([&] { return AtDesignedSize(window); }, kAnswerMs))
          << "round " << round << ": " << window.size().width() << " x " << window.size().height();
    }
    EXPECT_EQ(lastBox->geometry(), boxAt);
  }
  const int returns = changes.returned;

  // Fullscreen lasts while the compositor keeps it; a protocol error would end this process.
  window.windowHandle()->setWindowStates(Qt::WindowFullScreen);
  EXPECT_TRUE(QTest::qWaitFor(
      [&] {
        return window.windowState() == Qt::WindowFullScreen && window.width() > kDesigned.width();
      },
      kAnswerMs));
  EXPECT_EQ(lastBox->geometry(), boxAt);
  // The compositor answers fullscreen after any return the window might still have asked for.
  EXPECT_EQ(changes.returned, returns) << "the fourth maximised state was answered";
  window.windowHandle()->setWindowStates(Qt::WindowNoState);
  EXPECT_TRUE(QTest::qWaitFor([&] { return AtDesignedSize(window); }, kAnswerMs))
      << window.size().width() << " x " << window.size().height();
  EXPECT_FALSE(runtime.Ended());
}

// Under a shell that shows every window fullscreen, the window settles with its controls in
// place and then keeps quiet: no change of state or size while a timer of half a second runs.
TEST_F(Wayland, UnderAShellThatFullscreensEveryWindowItSettles) {
  if (Compositor() != QLatin1String("weston-kiosk")) GTEST_SKIP() << "a kiosk shell's case";
  const auto fullscreen = [&] {
    return window.windowState() == Qt::WindowFullScreen && window.width() > kDesigned.width();
  };
  ASSERT_TRUE(QTest::qWaitFor(fullscreen, kAnswerMs));
  const QRect boxAt = runtime.WidgetAt(ctl::txtResults(10))->geometry();
  const QSize settled = window.size();
  StateChanges changes(window);
  bool fired = false;
  QTimer::singleShot(500, &window, [&] { fired = true; });
  ASSERT_TRUE(QTest::qWaitFor([&] { return fired; }, kAnswerMs));
  EXPECT_EQ(changes.maximised + changes.returned, 0);
  EXPECT_TRUE(fullscreen());
  EXPECT_EQ(window.size(), settled);
  EXPECT_EQ(runtime.WidgetAt(ctl::txtResults(10))->geometry(), boxAt);
  EXPECT_FALSE(runtime.Ended());
}

// A copy from a result box is offered marked, and overwritten as soon as another client's takes
// its place (the toolkit keeps the copy until the process ends): under KWin, whose
// data-control protocol lets wl-paste and wl-copy in without a window. Elsewhere a headless
// client holds no clipboard without a key typed (sway: the session test types), Weston's
// headless session has no seat, and mutter refuses a client without a keyboard.
TEST_F(Wayland, ACopyIsOfferedMarkedAndOverwrittenOnceAnotherClientCopies) {
  if (Compositor() != QLatin1String("kwin")) GTEST_SKIP() << "no clipboard without typing";
  auto* box = static_cast<QLineEdit*>(runtime.WidgetAt(ctl::txtResults(1)));
  box->selectAll();
  box->copy();
  ASSERT_TRUE(QTest::qWaitFor([] { return runtime::HoldsSecretCopy(); }, kAnswerMs));
  ASSERT_EQ(Paste({QStringLiteral("-n")}), box->text().toUtf8());
  ASSERT_EQ(Paste({QStringLiteral("-n"), QStringLiteral("-t"), runtime::kPasswordManagerHint}),
            "secret");
  const QMimeData* copy = QGuiApplication::clipboard()->mimeData();
  const QString format = QStringLiteral("text/plain");
  ASSERT_EQ(copy->data(format), box->text().toUtf8());
  QProcess::startDetached(QStringLiteral("wl-copy"), {QStringLiteral("foreign")});
  ASSERT_TRUE(QTest::qWaitFor([] { return !runtime::HoldsSecretCopy(); }, kAnswerMs));
  EXPECT_EQ(copy->data(format), QByteArray(box->text().toUtf8().size(), '\0'));
}

}  // namespace
}  // namespace tolvane::window
