#include "runtime/qt/qt_designed_size.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTimer>
#include <QVersionNumber>
#include <QWidget>
#include <QWindow>
#include <QWindowStateChangeEvent>
#include <algorithm>
#include <chrono>
#include <deque>

namespace tolvane::runtime {
namespace {

// Before 6.7 the toolkit's Wayland plugin bounds a size the compositor configures by the
// window's limits, and a compositor that maximises or fullscreens a window ends the
// connection of one whose size does not follow. The plugin applies each configuration in a
// queued call on its window object; just before that call the limits are lifted, and they
// are fixed again once the window is back at its designed size in the normal state.
bool ConfiguredSizesAreBounded() {
  return QGuiApplication::platformName().startsWith(QLatin1String("wayland")) &&
         QLibraryInfo::version() < QVersionNumber(6, 7);
}

// A shell that keeps every window maximised (phone shells do) would be answered for ever: of
// the changes into the maximised state that come within this time of each other, three are
// answered; after that the state stays, and the controls keep their places, as in fullscreen.
constexpr int kMaximisedAnswers = 3;
constexpr std::chrono::seconds kInsistingWithin{10};

class DesignedSize final : public QObject {
 public:
  DesignedSize(QWidget& window, QSize size) : QObject(&window), window_(window), size_(size) {
    window_.setFixedSize(size_);
    // The application's filter sees the window's events too: one filter, so each is seen once.
    if (ConfiguredSizesAreBounded()) {
      qApp->installEventFilter(this);
    } else {
      window_.installEventFilter(this);
    }
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == &window_) {
      // Only what the desktop did: the window's own requests are not yet answered.
      if (!event->spontaneous()) return false;
      if (event->type() == QEvent::WindowStateChange) {
        if (BecameMaximised(static_cast<QWindowStateChangeEvent&>(*event)) && MayAnswer()) {
          // After the state has been applied, so that the request to leave it is sent.
          QTimer::singleShot(0, this, [this] {
            window_.setWindowState(window_.windowState() & ~Qt::WindowMaximized);
          });
        }
        Settle();
      } else if (event->type() == QEvent::Resize) {
        Settle();
      }
    } else if (event->type() == QEvent::MetaCall &&
               watched->inherits("QtWaylandClient::QWaylandWindow") &&
               IsOwnPlatformWindow(*watched)) {
      Lift();
      QTimer::singleShot(0, this, [this] { FixLimits(); });
    }
    return false;
  }

 private:
  bool BecameMaximised(const QWindowStateChangeEvent& change) const {
    return (window_.windowState() & Qt::WindowMaximized) &&
           !(change.oldState() & Qt::WindowMaximized);
  }
  bool MayAnswer() {
    const auto now = std::chrono::steady_clock::now();
    while (!answers_.empty() && now - answers_.front() > kInsistingWithin) answers_.pop_front();
    if (answers_.size() >= kMaximisedAnswers) return false;
    answers_.push_back(now);
    return true;
  }

  // The plugin's window object is not tied to its QWindow by any public interface. The main
  // window's is the one that gets a queued call while the main window is the only one with a
  // platform window, as at its first show; from then on calls to the others' (an open list, a
  // message) leave the limits alone. Until it is known, every call lifts them, which is safe.
  bool IsOwnPlatformWindow(QObject& candidate) {
    if (ownPlatformWindow_ == nullptr) {
      if (!OnlyPlatformWindowIsMain()) return true;
      ownPlatformWindow_ = &candidate;
    }
    return &candidate == ownPlatformWindow_;
  }
  bool OnlyPlatformWindowIsMain() const {
    const QWindowList windows = QGuiApplication::allWindows();
    return std::all_of(windows.begin(), windows.end(), [this](const QWindow* window) {
      return window->handle() == nullptr || window == window_.windowHandle();
    });
  }

  void Lift() {
    if (lifted_) return;
    lifted_ = true;
    window_.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  }

  // Back in the normal state: the designed size again (a compositor may propose another,
  // e.g. the fullscreen size less Qt 6.8's title bar), then the fixed limits.
  void Settle() {
    if (window_.windowState() != Qt::WindowNoState) return;
    if (window_.size() == size_) {
      FixLimits();
      return;
    }
    QTimer::singleShot(0, this, [this] {
      if (window_.windowState() == Qt::WindowNoState) window_.resize(size_);
    });
  }

  void FixLimits() {
    if (!lifted_ || window_.windowState() != Qt::WindowNoState || window_.size() != size_) return;
    lifted_ = false;
    window_.setMaximumSize(size_);
  }

  QWidget& window_;
  const QSize size_;
  bool lifted_ = false;
  QPointer<QObject> ownPlatformWindow_;
  std::deque<std::chrono::steady_clock::time_point> answers_;  // the recent ones
};

}  // namespace

void KeepDesignedSize(QWidget& window, QSize size) {
  new DesignedSize(window, size);
}

}  // namespace tolvane::runtime
