#include "runtime/qt/qt_accessible.h"

#include <QAbstractItemView>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <algorithm>
#include <cmath>

#include "runtime/qt/qt_accessibility_guard.h"
#include "runtime/qt/qt_accessible_text.h"
#include "runtime/qt/qt_controls.h"
#include "runtime/qt/qt_frame.h"
#include "runtime/qt/qt_result_box_accessible.h"

namespace tolvane::runtime {
namespace {

constexpr char kLabelFor[] = "tolvaneLabelFor";
constexpr char kLabelledBy[] = "tolvaneLabelledBy";
constexpr char kContainer[] = "tolvaneContainer";
constexpr char kCaptionNote[] = "tolvaneCaptionNote";
constexpr char kAnnouncer[] = "tolvaneAnnouncer";

using Relations = QList<QPair<QAccessibleInterface*, QAccessible::Relation>>;

QWidget* Linked(const QWidget* widget, const char* property) {
  return qobject_cast<QWidget*>(widget->property(property).value<QObject*>());
}

// The drop-down if it has been made: asking QComboBox::view() would make it.
QAbstractItemView* ExistingDropDown(const QComboBox& list) {
  return list.findChild<QAbstractItemView*>();
}

// The widget linked through the property, as a relation of the given kind when the match
// asks for it, ahead of the relations Qt finds itself.
Relations WithLinked(const QWidget* widget, const char* property, QAccessible::Relation kind,
                     QAccessible::Relation match, const Relations& found) {
  QWidget* other = Linked(widget, property);
  QAccessibleInterface* iface = other ? QAccessible::queryAccessibleInterface(other) : nullptr;
  if (iface == nullptr || !(match & kind)) return found;
  return Relations{{iface, kind}} + found;
}

// Text that a reader reads and cannot change: no selection, no caret of its own.
class ReadOnlyText : public BoundedText {
 public:
  void selection(int, int* start, int* end) const override { *start = *end = 0; }
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int) override {}
  QRect characterRect(int) const override { return {}; }
  int offsetAtPoint(const QPoint&) const override { return -1; }
};

// A pick list as Qt presents a pick-only combo box (its drop-down list as the one child, the
// actions that open and close it, the entry as the value), except that its name is its own:
// Qt on Linux names a combo box by its current entry. Its entry is also its text, which is
// what a screen reader says as the value where the toolkit's drop-down offers no selection
// to read (Qt 6.4). A list of numbers, such as a length list, also offers its entry as a
// number in the range of its entries.
class PickListAccessible final : public QAccessibleWidget,
                                 public QAccessibleValueInterface,
                                 public ReadOnlyText {
  static constexpr double kLargestEntry = 1e6;  // far beyond any list's numbers

 public:
  explicit PickListAccessible(QComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::ValueInterface)
      return NumberAt(0).isValid() ? static_cast<QAccessibleValueInterface*>(this) : nullptr;
    if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
  }
  QString Text() const override { return List().currentText(); }

  QString text(QAccessible::Text t) const override {
    const bool named = !List().accessibleName().isEmpty();
    if (t == QAccessible::Value || (t == QAccessible::Name && !named)) return List().currentText();
    return QAccessibleWidget::text(t);  // the name is the widget's accessible name
  }

  // Reading changes nothing: the drop-down is a child once the list has first opened.
  int childCount() const override { return ExistingDropDown(List()) != nullptr ? 1 : 0; }
  QAccessibleInterface* child(int index) const override {
    QAbstractItemView* view = ExistingDropDown(List());
    return index == 0 && view != nullptr ? QAccessible::queryAccessibleInterface(view) : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    return child && child->object() == ExistingDropDown(List()) ? 0 : -1;
  }

  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.expandable = true;
    const QAbstractItemView* view = ExistingDropDown(List());
    s.expanded = view != nullptr && view->isVisible();
    return s;
  }
  // With SetFocus, through which a screen reader moves the focus (AT-SPI's grabFocus).
  QStringList actionNames() const override {
    return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
  }
  void doAction(const QString& action) override {
    if (action != showMenuAction() && action != pressAction()) {
      QAccessibleWidget::doAction(action);
      return;
    }
    QComboBox& list = List();
    state().expanded ? list.hidePopup() : list.showPopup();
  }

  QVariant currentValue() const override { return NumberAt(List().currentIndex()); }
  // A bound set through the interface is the user's choice, made as one from the list is.
  void setCurrentValue(const QVariant& value) override {
    bool ok = false;
    const double number = value.toDouble(&ok);
    auto* list = dynamic_cast<PickList*>(&List());
    if (!ok || list == nullptr || !(std::abs(number) <= kLargestEntry)) return;  // NaN too
    const int entry = list->findText(QString::number(std::lround(number)));
    if (entry >= 0) list->Choose(entry);
  }
  QVariant maximumValue() const override { return Ends().second; }
  QVariant minimumValue() const override { return Ends().first; }
  QVariant minimumStepSize() const override { return 1; }

 private:
  QComboBox& List() const { return *static_cast<QComboBox*>(widget()); }
  std::pair<QVariant, QVariant> Ends() const {  // the entries may run either way
    const QVariant first = NumberAt(0), last = NumberAt(List().count() - 1);
    return first.toInt() <= last.toInt() ? std::pair(first, last) : std::pair(last, first);
  }
  QVariant NumberAt(int index) const {
    bool ok = false;
    const int number = List().itemText(index).toInt(&ok);
    return ok ? QVariant(number) : QVariant();
  }
};

// A check box as Qt presents one, named by its caption. The label beside it, which shows the
// box's character set and switches it when clicked, is its controller, and its text is the
// box's description, unless a note stands there for now: as its label, a screen reader would
// say the set instead of the caption.
class LabelledBoxAccessible final : public QAccessibleWidget {
 public:
  explicit LabelledBoxAccessible(QCheckBox* box) : QAccessibleWidget(box, QAccessible::CheckBox) {}

  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.checkable = true;
    s.checked = Box().isChecked();
    return s;
  }
  QStringList actionNames() const override {
    return QStringList{toggleAction()} + QAccessibleWidget::actionNames();  // and SetFocus
  }
  void doAction(const QString& action) override {
    // Switching the box raises its Click like any other switch.
    if (action == toggleAction() || action == pressAction()) {
      Box().toggle();
    } else {
      QAccessibleWidget::doAction(action);
    }
  }
  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Description) return QAccessibleWidget::text(t);
    const QString note = widget()->property(kCaptionNote).toString();
    const auto* label = static_cast<const ClickableLabel*>(Linked(widget(), kLabelledBy));
    return !note.isEmpty() || label == nullptr ? note : label->text();
  }
  Relations relations(QAccessible::Relation match) const override {
    return WithLinked(widget(), kLabelledBy, QAccessible::Controller, match,
                      QAccessibleWidget::relations(match));
  }

 private:
  QCheckBox& Box() const { return *static_cast<QCheckBox*>(widget()); }
};

// A label; one that belongs to a check box offers its click (which switches the box) as an
// action.
class BoxLabelAccessible final : public QAccessibleWidget {
 public:
  explicit BoxLabelAccessible(ClickableLabel* label)
      : QAccessibleWidget(label, QAccessible::StaticText) {}

  QStringList actionNames() const override {
    return Linked(widget(), kLabelFor) ? QStringList{pressAction()} : QStringList{};
  }
  void doAction(const QString& action) override {
    if (action == pressAction() && Linked(widget(), kLabelFor))
      static_cast<ClickableLabel*>(widget())->Click();
  }
  Relations relations(QAccessible::Relation match) const override {
    return WithLinked(widget(), kLabelFor, QAccessible::Controlled, match,
                      QAccessibleWidget::relations(match));
  }
};

// An announcement: a notification that a screen reader speaks as it appears. It takes no
// room and draws nothing.
class AnnouncerAccessible final : public QAccessibleWidget {
 public:
  explicit AnnouncerAccessible(QWidget* announcer)
      : QAccessibleWidget(announcer, QAccessible::Notification) {}
};

// The window (read as a frame) or a frame: children in screen order, row by row from the
// top, each row left to right, whatever their stacking.
class ContainerAccessible final : public QAccessibleWidget {
 public:
  explicit ContainerAccessible(QWidget* container)
      : QAccessibleWidget(container,
                          container->isWindow() ? QAccessible::Window : QAccessible::Grouping) {}

  int childCount() const override { return static_cast<int>(Children().size()); }
  QAccessibleInterface* child(int index) const override {
    const QWidgetList children = Children();
    return index >= 0 && index < children.size()
               ? QAccessible::queryAccessibleInterface(children[index])
               : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    return child ? static_cast<int>(Children().indexOf(qobject_cast<QWidget*>(child->object())))
                 : -1;
  }

 private:
  QWidgetList Children() const {
    QWidgetList children;
    for (QObject* object : widget()->children()) {
      auto* child = qobject_cast<QWidget*>(object);
      if (child && !child->isWindow()) children.append(child);
    }
    std::stable_sort(children.begin(), children.end(),
                     [](const QWidget* a, const QWidget* b) { return a->y() < b->y(); });
    // A row: what starts above the middle of the row's first widget; read left to right.
    for (auto row = children.begin(); row != children.end();) {
      const int middle = (*row)->geometry().center().y();
      const auto end = std::find_if(row, children.end(), [&](auto* w) { return w->y() > middle; });
      std::stable_sort(row, end,
                       [](const QWidget* a, const QWidget* b) { return a->x() < b->x(); });
      row = end;
    }
    return children;
  }
};

// Chosen by type alone: an interface is made once, at the first accessibility event of its
// widget, which may come before the widget is fully set up.
QAccessibleInterface* Factory(const QString&, QObject* object) {
  auto* widget = qobject_cast<QWidget*>(object);
  if (widget == nullptr) return nullptr;
  if (widget->property(kContainer).toBool() || dynamic_cast<EtchedFrame*>(widget))
    return new ContainerAccessible(widget);
  if (widget->property(kAnnouncer).toBool()) return new AnnouncerAccessible(widget);
  if (auto* label = dynamic_cast<ClickableLabel*>(widget)) return new BoxLabelAccessible(label);
  if (auto* box = qobject_cast<QCheckBox*>(widget)) return new LabelledBoxAccessible(box);
  if (auto* list = qobject_cast<QComboBox*>(widget)) return new PickListAccessible(list);
  if (auto* box = qobject_cast<QLineEdit*>(widget)) return MakeResultBoxAccessible(*box);
  return nullptr;  // Qt's own interface
}

}  // namespace

void InstallAccessibility() {
  static const bool installed = (QAccessible::installFactory(Factory), true);
  (void)installed;
  GuardAccessibilityBridge();
}

void MarkLabelFor(QWidget& label, QWidget& box) {
  label.setProperty(kLabelFor, QVariant::fromValue<QObject*>(&box));
  box.setProperty(kLabelledBy, QVariant::fromValue<QObject*>(&label));
}

void FollowEntryInDropDown(QComboBox& list) {
  QObject::connect(&list, &QComboBox::currentIndexChanged, &list, [&list] {
    if (QAbstractItemView* view = ExistingDropDown(list)) NameDropDown(list, *view);
  });
}

void NameDropDown(QComboBox& list, QAbstractItemView& view) {
  view.setAccessibleName(list.accessibleName());
  view.parentWidget()->setAccessibleName(list.accessibleName());
  view.setCurrentIndex(list.model()->index(list.currentIndex(), 0));
}

// The description is read, not pushed: a change of it would be spoken by some screen readers
// as well as the announcement, and by none the same way (Qt 6.4 sends the object, not the text).
void SetCaptionNote(QWidget& box, const QString& note) {
  const QList<QCheckBox*> boxes = box.window()->findChildren<QCheckBox*>();
  const bool noted = std::any_of(boxes.begin(), boxes.end(), [](const QCheckBox* other) {
    return !other->property(kCaptionNote).toString().isEmpty();
  });
  box.setProperty(kCaptionNote, note);
  if (!noted && !note.isEmpty()) Announce(*box.window(), note);
}

// The toolkit's announcement where it has one (6.8); before that, a notification shown anew
// with the text as its name, which screen readers speak as it appears.
void Announce(QWidget& window, const QString& text) {
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
  QAccessibleAnnouncementEvent announcement(&window, text);
  QAccessible::updateAccessibility(&announcement);
#else
  auto* announcer = window.findChild<QWidget*>(kAnnouncer, Qt::FindDirectChildrenOnly);
  if (announcer == nullptr) {
    announcer = new QWidget(&window);
    announcer->setObjectName(kAnnouncer);
    announcer->setProperty(kAnnouncer, true);
    announcer->setGeometry(0, 0, 0, 0);
  }
  announcer->hide();
  announcer->setAccessibleName(text);
  announcer->show();
#endif
}

void MarkContainer(QWidget& container) {
  container.setProperty(kContainer, true);
}

}  // namespace tolvane::runtime
