// The runtime harness on Qt: real mouse and key events through QTest.
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

#include "qt_driven_runtime.h"
#include "runtime/keys.h"
#include "runtime_harness.h"

namespace tolvane::testing {
namespace {

constexpr int kSettleDeadlineMs = 30000;

// The slot whose widget is this one or holds it.
std::optional<std::size_t> SlotOf(const QWidget* widget) {
  for (; widget != nullptr; widget = widget->parentWidget()) {
    const QVariant slot = widget->property(runtime::kSlotProperty);
    if (slot.isValid()) return slot.value<std::size_t>();
  }
  return std::nullopt;
}

Qt::Key QtKey(std::int16_t virtualKey) {
  switch (virtualKey) {
    case runtime::kKeyEscape:
      return Qt::Key_Escape;
    case 9:
      return Qt::Key_Tab;
    case 40:
      return Qt::Key_Down;
    default:
      if (virtualKey >= 112 && virtualKey <= 135) return Qt::Key(Qt::Key_F1 + (virtualKey - 112));
      return Qt::Key(virtualKey);  // digits and letters share their codes
  }
}

class QtHarness final : public RuntimeHarness {
 public:
  explicit QtHarness(runtime::Services services) : runtime_(services, kTestProgram) {}

  runtime::ToolkitRuntime& Runtime() override { return runtime_; }
  void StartLastForm() override { runtime_.Start(runtime_.LastForm()); }
  // A real event loop, so the dispatcher blocks and announces it as it does in the program.
  bool WaitFor(const std::function<bool()>& done, int ms) override {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
      if (done()) loop.quit();
    });
    poll.start(5);
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    if (!done()) loop.exec();
    return done();
  }
  // Timers due at the same pass fire in the order of their due times, and a zero timer set
  // when the sentinel fires runs after everything posted before it.
  bool Settle(int ms) override {
    QObject context;  // takes the timers with it if the deadline passes first
    bool settled = false;
    QTimer::singleShot(ms, Qt::PreciseTimer, &context,
                       [&] { QTimer::singleShot(0, &context, [&] { settled = true; }); });
    return WaitFor([&] { return settled; }, ms + kSettleDeadlineMs);
  }

  void ClickCheckBox(std::size_t slot) override {
    QWidget* box = At(slot);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
  }
  void ClickLabel(std::size_t slot, bool rightButton) override {
    QTest::mouseClick(At(slot), rightButton ? Qt::RightButton : Qt::LeftButton);
  }
  // As a widget receives it: the second press comes as the double-click itself.
  void DoubleClickLabel(std::size_t slot) override {
    QWidget* label = At(slot);
    const QPointF at(3, 3);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                              QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
      const Qt::MouseButtons held =
          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
      QMouseEvent event(type, at, label->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
      QApplication::sendEvent(label, &event);
    }
  }
  void ChooseNextEntry(std::size_t list) override { PressKey(list, 40); }
  void PressKey(std::size_t slot, std::int16_t virtualKey) override {
    At(slot)->setFocus();
    QTest::keyClick(At(slot), QtKey(virtualKey));
  }
  void PressKeyWhereFocused(std::int16_t virtualKey) override {
    QWidget* target = QApplication::activePopupWidget();
    if (target == nullptr) target = QApplication::focusWidget();
    if (target != nullptr) QTest::keyClick(target, QtKey(virtualKey));
  }
  void OpenList(std::size_t list) override {
    QApplication::setActiveWindow(&runtime_.Window());
    At(list)->setFocus();
    static_cast<QComboBox*>(At(list))->showPopup();
  }
  void CloseWindow() override { runtime_.Window().close(); }
  std::string ReadMessageDuring(const std::function<void()>& act,
                                const std::function<void()>& whileShown) override {
    std::string text;
    QTimer reader;  // fires inside the message box's own loop
    QObject::connect(&reader, &QTimer::timeout, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        reader.stop();
        text = box->text().toStdString();
        if (whileShown) whileShown();
        box->accept();
      }
    });
    reader.start(10);
    act();
    return text;
  }

  bool WindowVisible() override { return runtime_.Window().isVisible(); }
  std::string Title() override { return runtime_.Window().windowTitle().toStdString(); }
  PixelRect ClientArea() override {
    return {0, 0, runtime_.Window().width(), runtime_.Window().height()};
  }
  PixelRect RectOf(std::size_t slot) override {
    const QPoint at = At(slot)->mapTo(&runtime_.Window(), QPoint());
    return {at.x(), at.y(), At(slot)->width(), At(slot)->height()};
  }
  std::optional<std::size_t> ControlAt(int x, int y) override {
    return SlotOf(runtime_.Window().childAt(x, y));
  }
  std::optional<std::size_t> FocusAfterTab(std::size_t from) override {
    QApplication::setActiveWindow(&runtime_.Window());
    At(from)->setFocus();
    QTest::keyClick(At(from), Qt::Key_Tab);
    return SlotOf(QApplication::focusWidget());
  }
  bool Checked(std::size_t box) override { return static_cast<QCheckBox*>(At(box))->isChecked(); }
  bool ListOpen(std::size_t list) override {
    return static_cast<QComboBox*>(At(list))->view()->isVisible();
  }
  std::string ShownText(std::size_t slot) override {
    QWidget* w = At(slot);
    if (auto* label = qobject_cast<QLabel*>(w)) return label->text().toStdString();
    if (auto* list = qobject_cast<QComboBox*>(w)) return list->currentText().toStdString();
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text().toStdString();
    if (auto* box = qobject_cast<QCheckBox*>(w)) return box->text().toStdString();
    return {};
  }
  runtime::Color CaptionColor(std::size_t slot) override {
    const QColor c = At(slot)->palette().color(QPalette::WindowText);
    return runtime::Rgb(c.red(), c.green(), c.blue());
  }

 private:
  QWidget* At(std::size_t slot) { return runtime_.WidgetAt(slot); }

  QtDrivenRuntime runtime_;
};

}  // namespace

std::unique_ptr<RuntimeHarness> MakeHarness(runtime::Services services) {
  return std::make_unique<QtHarness>(services);
}

}  // namespace tolvane::testing
