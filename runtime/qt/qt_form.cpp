#include "runtime/qt/qt_form.h"

#include <QCloseEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QPixmap>
#include <algorithm>
#include <limits>
#include <stdexcept>

#include "runtime/qt/qt_frame.h"
#include "runtime/qt/qt_keys.h"

namespace tolvane::runtime {
namespace {

int Pixels(int twips) {
  return twips / kTwipsPerPixel;
}

QRect PixelRect(const TwipRect& r) {
  return QRect(Pixels(r.left), Pixels(r.top), Pixels(r.width), Pixels(r.height));
}

QString ToQString(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

Qt::Alignment ToQtAlignment(TextAlign align) {
  switch (align) {
    case TextAlign::Right:
      return Qt::AlignRight | Qt::AlignTop;
    case TextAlign::Centre:
      return Qt::AlignHCenter | Qt::AlignTop;
    case TextAlign::Left:
      break;
  }
  return Qt::AlignLeft | Qt::AlignTop;
}

// Fields (text boxes, lists) paint their inside in Base; everything else, the check boxes'
// captions included, in Window. A check box's own box keeps the toolkit's white.
void SetBackground(QWidget& widget, Colour colour, bool isField) {
  QPalette palette = widget.palette();
  palette.setColor(isField ? QPalette::Base : QPalette::Window, ToQColor(colour));
  widget.setPalette(palette);
}

// The top-level window: closing it in any way unloads the form.
class FormWindow final : public QWidget {
 public:
  explicit FormWindow(std::function<void()> onClose) : onClose_(std::move(onClose)) {}

 protected:
  void closeEvent(QCloseEvent* event) override {
    event->accept();
    if (onClose_) onClose_();
  }

 private:
  std::function<void()> onClose_;
};

// Reports key presses of the focusable controls as KeyDown, then lets the control have them.
class KeyDownFilter final : public QObject {
 public:
  explicit KeyDownFilter(EventPort& port) : port_(port) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const QVariant slot = watched->property("tolvaneSlot");
      const auto* key = static_cast<QKeyEvent*>(event);
      if (const auto code = VirtualKeyCode(key->key()); code && slot.isValid()) {
        port_.KeyDown(slot.value<std::size_t>(), *code, ShiftState(key->modifiers()));
      }
    }
    return false;
  }

 private:
  EventPort& port_;
};

}  // namespace

QtForm::QtForm(const FormSpec& layout, FormEvents& events, const bool& ended)
    : port_(events, ended) {
  Build(layout);
}

QtForm::~QtForm() = default;

void QtForm::Build(const FormSpec& layout) {
  window_ = std::make_unique<FormWindow>([this] { port_.Unload(); });
  window_->setWindowTitle(ToQString(layout.title));
  window_->setFixedSize(Pixels(layout.clientWidth), Pixels(layout.clientHeight));
  window_->setFont(QFont(ToQString(layout.fontName), static_cast<int>(layout.fontPoints)));
  window_->setAutoFillBackground(true);
  SetBackground(*window_, layout.backColor, false);
  if (!layout.iconXpm.empty()) window_->setWindowIcon(QIcon(QPixmap(layout.iconXpm.data())));
  keyFilter_ = std::make_unique<KeyDownFilter>(port_);

  slots_.resize(layout.controls.size());
  for (std::size_t slot = 0; slot < layout.controls.size(); ++slot) {
    const ControlSpec& control = layout.controls[slot];
    QWidget* parent =
        control.container == kOnForm ? window_.get() : slots_.at(control.container).widget;
    if (parent == nullptr) throw std::logic_error("a container must come before its controls");
    slots_[slot].widget = Create(slot, control, *parent);
  }

  // Earlier siblings lie above later ones: raise from the last to the first.
  for (auto it = slots_.rbegin(); it != slots_.rend(); ++it) {
    if (it->widget) it->widget->raise();
  }

  std::vector<std::pair<int, QWidget*>> focusable;
  for (std::size_t slot = 0; slot < layout.controls.size(); ++slot) {
    QWidget* widget = slots_[slot].widget;
    if (widget && widget->focusPolicy() != Qt::NoFocus) {
      focusable.emplace_back(layout.controls[slot].tabIndex, widget);
    }
  }
  std::sort(focusable.begin(), focusable.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  for (std::size_t i = 1; i < focusable.size(); ++i) {
    QWidget::setTabOrder(focusable[i - 1].second, focusable[i].second);
  }
  if (!focusable.empty()) firstFocus_ = focusable.front().second;
}

QWidget* QtForm::Create(std::size_t slot, const ControlSpec& control, QWidget& parent) {
  Slot& s = slots_[slot];
  QWidget* widget = nullptr;
  switch (control.kind) {
    case ControlKind::Timer: {
      s.timer = new QTimer(window_.get());
      s.timer->setInterval(control.intervalMs);
      s.timerControl = std::make_unique<QtTimer>(*s.timer, slot, port_);
      return nullptr;
    }
    case ControlKind::CheckBox: {
      auto* box = new QCheckBox(ToQString(control.caption), &parent);
      box->setChecked(control.value != 0);
      auto adapter = std::make_unique<QtCheckBox>(*box, slot, port_);
      adapter->SetForeColor(control.foreColor);
      s.checkBox = std::move(adapter);
      widget = box;
      break;
    }
    case ControlKind::Frame: {
      widget = new EtchedFrame(ToQString(control.caption), &parent);
      break;
    }
    case ControlKind::TextBox: {
      auto* edit = new WholeTextEdit(&parent);
      edit->setMaxLength(std::numeric_limits<int>::max());
      edit->setAutoFillBackground(true);
      s.textBox = std::make_unique<QtTextBox>(*edit);
      widget = edit;
      break;
    }
    case ControlKind::ComboBox: {
      auto* list = new QComboBox(&parent);
      list->setEditable(false);
      // A pick-only list drawn flat in its own colour, not as a shaded button.
      list->setStyleSheet(
          QStringLiteral("QComboBox { background-color: %1; color: %2;"
                         " border: 1px solid #808080; padding-left: 3px;"
                         " combobox-popup: 0; }")
              .arg(ToQColor(control.backColor).name(), ToQColor(control.foreColor).name()));
      s.comboBox = std::make_unique<QtComboBox>(*list, slot, port_);
      widget = list;
      break;
    }
    case ControlKind::Label: {
      auto* label = new ClickableLabel(&parent, [this, slot] { port_.Click(slot); });
      label->setTextFormat(Qt::PlainText);  // '&' and '<' are drawn as they are
      label->setWordWrap(false);
      label->setText(ToQString(control.caption));
      label->setAlignment(ToQtAlignment(control.align));
      if (control.bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
      }
      widget = label;
      break;
    }
  }
  widget->setObjectName(ToQString(control.name) +
                        (control.index ? QString("(%1)").arg(control.index) : QString()));
  widget->setGeometry(PixelRect(control.bounds));
  widget->setAccessibleName(
      ToQString(control.accessibleName.empty() ? control.caption : control.accessibleName));
  if (control.kind != ControlKind::CheckBox) SetTextColour(*widget, control.foreColor);
  SetBackground(*widget, control.backColor,
                control.kind == ControlKind::TextBox || control.kind == ControlKind::ComboBox);
  if (widget->focusPolicy() != Qt::NoFocus) WatchKeys(slot, *widget);
  return widget;
}

void QtForm::WatchKeys(std::size_t slot, QWidget& widget) {
  widget.setProperty("tolvaneSlot", QVariant::fromValue(slot));
  widget.installEventFilter(keyFilter_.get());
}

CheckBox& QtForm::CheckBoxAt(std::size_t slot) {
  return RequireKind(slots_.at(slot).checkBox, "check box");
}
ComboBox& QtForm::ComboBoxAt(std::size_t slot) {
  return RequireKind(slots_.at(slot).comboBox, "list");
}
TextBox& QtForm::TextBoxAt(std::size_t slot) {
  return RequireKind(slots_.at(slot).textBox, "text box");
}
Timer& QtForm::TimerAt(std::size_t slot) {
  return RequireKind(slots_.at(slot).timerControl, "timer");
}

void QtForm::Unload() {
  port_.Unload();
  window_->hide();
}

void QtForm::Show() {
  window_->show();
  if (firstFocus_) firstFocus_->setFocus();
}

void QtForm::StopTimers() {
  for (Slot& s : slots_) {
    if (s.timer) s.timer->stop();
  }
}

}  // namespace tolvane::runtime
