#include "runtime/qt/qt_form.h"

#include <string.h>  // explicit_bzero

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QStandardPaths>
#include <QStyle>
#include <QStyleFactory>
#include <QTimer>
#include <algorithm>
#include <limits>
#include <stdexcept>

#include "runtime/qt/qt_accessible.h"
#include "runtime/qt/qt_designed_size.h"
#include "runtime/qt/qt_frame.h"
#include "runtime/qt/qt_keys.h"
#include "runtime/qt/qt_list_style.h"

namespace tolvane::runtime {
namespace {

QRect PixelRect(const TwipRect& r, int dpi) {
  return QRect(ToPixels(r.left, dpi), ToPixels(r.top, dpi), ToPixels(r.width, dpi),
               ToPixels(r.height, dpi));
}

// The designed 16 x 16 image, and for docks and switchers the larger sizes installed with the
// launcher (drawn from the same design). They are read from the data folders directly, so
// they are found wherever the program is installed, with or without an icon theme index.
QIcon WindowIcon(std::span<const char* const> xpm) {
  QIcon icon(QPixmap(xpm.data()));
  const QString name = QGuiApplication::desktopFileName();
  if (name.isEmpty()) return icon;
  for (int size : {32, 48, 64, 128, 256}) {
    const QString path = QStandardPaths::locate(
        QStandardPaths::GenericDataLocation,
        QStringLiteral("icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(name));
    const QPixmap larger(path);
    if (!path.isEmpty() && larger.width() == size) icon.addPixmap(larger);
  }
  return icon;
}

// Twips are physical units: the layout takes the DPI the fonts are made for. With the
// toolkit's scaling on, that is 96 and the toolkit scales the whole window; with it off, the
// screen's own.
int LayoutDpi() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? qRound(screen->logicalDotsPerInchY()) : 96;
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

// Overwrites the characters of a text where it is held, shared with the widget it came from.
// Only a text in memory of its own: one in the program's read-only data is no secret.
void Overwrite(const QString& shared) {
  if (shared.capacity() > 0)
    explicit_bzero(const_cast<QChar*>(shared.constData()), shared.size() * sizeof(QChar));
}

// One for every list, kept until the application ends (a widget does not own its style).
QStyle* ListStyle() {
  static QStyle* style = new FlatListStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  return style;
}

// The top-level window: closing it in any way unloads the form. It hears of a change of the
// desktop's palette, which the window follows in high contrast.
class FormWindow final : public QWidget {
 public:
  FormWindow(std::function<void()> onClose, std::function<void()> onDesktopPalette)
      : onClose_(std::move(onClose)), onDesktopPalette_(std::move(onDesktopPalette)) {
    MarkContainer(*this);
  }

 protected:
  void closeEvent(QCloseEvent* event) override {
    event->accept();
    if (onClose_) onClose_();
  }
  void changeEvent(QEvent* event) override {
    if (event->type() == QEvent::ApplicationPaletteChange && onDesktopPalette_) onDesktopPalette_();
    QWidget::changeEvent(event);
  }

 private:
  std::function<void()> onClose_;
  std::function<void()> onDesktopPalette_;
};

// Reports key presses of the focusable controls as KeyDown, then lets the control have them.
class KeyDownFilter final : public QObject {
 public:
  explicit KeyDownFilter(EventPort& port) : port_(port) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const QVariant slot = watched->property(kSlotProperty);
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

QtForm::QtForm(const FormLayout& layout, FormEvents& events, const bool& ended,
               EventPort::FailHandler fail, bool highContrast)
    : ToolkitForm(events, ended, std::move(fail)), layout_(layout) {
  colors_.highContrast = highContrast;
  Build();
}

// What the window showed goes with it: the boxes' texts, and the names screen readers were
// given (an announced password among them), are overwritten where the toolkit holds them,
// before the widgets are freed. The toolkit's own copies (what a box draws, say) are out of
// reach.
QtForm::~QtForm() {
  for (QLineEdit* box : window_->findChildren<QLineEdit*>()) Overwrite(box->text());
  for (QWidget* widget : window_->findChildren<QWidget*>()) Overwrite(widget->accessibleName());
}

void QtForm::FollowContrast(bool high) {
  if (high == colors_.highContrast) return;
  colors_.highContrast = high;
  TakeColors();
}

// Every colour of the window and its controls, as the form's colours give them now.
void QtForm::TakeColors() {
  window_->setPalette(colors_.WindowPalette());
  SetBackground(*window_, colors_.Back(layout_.backColor, false), false);
  for (std::size_t slot = 0; slot < widgets_.size(); ++slot) {
    if (widgets_[slot] == nullptr) continue;
    const ControlLayout& control = layout_.controls[slot];
    const bool field =
        control.kind == ControlKind::TextBox || control.kind == ControlKind::ComboBox;
    if (auto* box = dynamic_cast<QtCheckBox*>(controls_[slot].checkBox.get())) {
      box->ShowForeColor();
    } else {
      SetTextColor(*widgets_[slot], colors_.Text(control.foreColor, field));
    }
    SetBackground(*widgets_[slot], colors_.Back(control.backColor, field), field);
  }
}

void QtForm::Build() {
  const FormLayout& layout = layout_;
  window_ = std::make_unique<FormWindow>([this] { Unload(); },
                                         [this] {
                                           if (colors_.highContrast) TakeColors();
                                         });
  window_->setWindowTitle(ToQString(layout.title));
  dpi_ = LayoutDpi();
  const QSize client(ToPixels(layout.clientWidth, dpi_), ToPixels(layout.clientHeight, dpi_));
  KeepDesignedSize(*window_, client);
  QFont font(ToQString(layout.fontName));
  font.setPointSizeF(layout.fontPoints);
  window_->setFont(font);
  window_->setAutoFillBackground(true);
  if (!layout.iconXpm.empty()) {
    window_->setWindowIcon(QIcon(QPixmap(layout.iconXpm.data())));
    // Reading the larger icons takes a few milliseconds: after the window is up.
    QTimer::singleShot(0, window_.get(), [window = window_.get(), xpm = layout.iconXpm] {
      window->setWindowIcon(WindowIcon(xpm));
    });
  }
  keyFilter_ = std::make_unique<KeyDownFilter>(Port());

  controls_.resize(layout.controls.size());
  widgets_.resize(layout.controls.size());
  for (std::size_t slot = 0; slot < layout.controls.size(); ++slot) {
    const ControlLayout& control = layout.controls[slot];
    QWidget* parent = control.container == kOnForm ? window_.get() : widgets_.at(control.container);
    if (parent == nullptr) throw std::logic_error("a container must come before its controls");
    widgets_[slot] = Create(slot, layout, *parent);
  }

  for (std::size_t slot = 0; slot < layout.controls.size(); ++slot) {
    const ControlLayout& control = layout.controls[slot];
    if (control.labelFor != kNoControl)
      MarkLabelFor(*widgets_[slot], *widgets_.at(control.labelFor));
    if (control.describedBy != kNoControl) {
      widgets_[slot]->setAccessibleDescription(
          ToQString(layout.controls[control.describedBy].caption));
    }
  }

  // Raising each from the bottom up leaves the topmost last raised.
  const std::vector<std::size_t> stacking = StackingOrder(layout);
  for (auto it = stacking.rbegin(); it != stacking.rend(); ++it) widgets_[*it]->raise();

  const std::vector<std::size_t> tabOrder = TabOrder(layout);
  for (std::size_t i = 1; i < tabOrder.size(); ++i) {
    QWidget::setTabOrder(widgets_[tabOrder[i - 1]], widgets_[tabOrder[i]]);
  }
  if (!tabOrder.empty()) firstFocus_ = widgets_[tabOrder.front()];
  TakeColors();
}

QWidget* QtForm::Create(std::size_t slot, const FormLayout& layout, QWidget& parent) {
  QWidget* widget = MakeControl(slot, layout, parent);
  if (widget != nullptr) Dress(slot, layout.controls[slot], *widget);
  return widget;
}

// The widget of a slot's kind with what only that kind has, and the contract's control for
// it; null for a timer, which has no widget.
QWidget* QtForm::MakeControl(std::size_t slot, const FormLayout& layout, QWidget& parent) {
  const ControlLayout& control = layout.controls[slot];
  SlotControls& s = controls_[slot];
  QWidget* widget = nullptr;
  switch (control.kind) {
    case ControlKind::Timer: {
      auto* timer = new QTimer(window_.get());
      timer->setInterval(control.intervalMs);
      s.timer = std::make_unique<QtTimer>(*timer, slot, Port());
      return nullptr;
    }
    case ControlKind::CheckBox: {
      auto* box = new QCheckBox(ToQString(control.caption), &parent);
      box->setChecked(control.value != 0);
      auto adapter = std::make_unique<QtCheckBox>(*box, slot, Port(), layout, colors_);
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
      auto* list = new PickList(&parent);
      list->setStyle(ListStyle());
      s.comboBox = std::make_unique<QtComboBox>(*list, slot, Port());
      FollowEntryInDropDown(*list);
      widget = list;
      break;
    }
    case ControlKind::Label:
      widget = MakeLabel(slot, control, parent);
      break;
  }
  return widget;
}

QWidget* QtForm::MakeLabel(std::size_t slot, const ControlLayout& control, QWidget& parent) {
  auto* label = new ClickableLabel(&parent, [this, slot] { Port().Click(slot); });
  label->setTextFormat(Qt::PlainText);  // '&' and '<' are drawn as they are
  label->setWordWrap(false);
  label->setText(ToQString(control.caption));
  label->setAlignment(ToQtAlignment(control.align));
  if (control.bold) {
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
  }
  return label;
}

// What every control's widget gets from its row of the layout: name, place, colours, focus.
void QtForm::Dress(std::size_t slot, const ControlLayout& control, QWidget& widget) {
  widget.setObjectName(ToQString(control.name) +
                       (control.index ? QString("(%1)").arg(control.index) : QString()));
  widget.setProperty(kSlotProperty, QVariant::fromValue(slot));
  widget.setGeometry(PixelRect(control.bounds, dpi_));
  widget.setAccessibleName(
      ToQString(control.accessibleName.empty() ? control.caption : control.accessibleName));
  if (TakesFocus(control.kind)) {
    widget.installEventFilter(keyFilter_.get());  // KeyDown, then the control has the key
  } else {
    widget.setFocusPolicy(Qt::NoFocus);
  }
}

void QtForm::Show() {
  window_->show();
  if (firstFocus_) firstFocus_->setFocus();
}

void QtForm::Hide() {
  window_->hide();
}

}  // namespace tolvane::runtime
