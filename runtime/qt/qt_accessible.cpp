#include "runtime/qt/qt_accessible.h"

#include <QAccessibleWidget>
#include <QComboBox>

namespace tolvane::runtime {
namespace {

class NamedListAccessible final : public QAccessibleWidget {
 public:
  explicit NamedListAccessible(QComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

  QString text(QAccessible::Text t) const override {
    const auto* list = static_cast<const QComboBox*>(widget());
    switch (t) {
      case QAccessible::Name:
        return list->accessibleName();
      case QAccessible::Value:
        return list->currentText();
      default:
        return QAccessibleWidget::text(t);
    }
  }
};

QAccessibleInterface* NamedListFactory(const QString& className, QObject* object) {
  auto* list = qobject_cast<QComboBox*>(object);
  if (className != QLatin1String("QComboBox") || list == nullptr ||
      list->accessibleName().isEmpty()) {
    return nullptr;  // Qt's own interface
  }
  return new NamedListAccessible(list);
}

}  // namespace

void InstallNamedListAccessibility() {
  static const bool installed = (QAccessible::installFactory(NamedListFactory), true);
  (void)installed;
}

}  // namespace tolvane::runtime
