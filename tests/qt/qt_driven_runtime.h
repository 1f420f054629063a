#pragma once

#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <stdexcept>

#include "driven_runtime.h"
#include "runtime/qt/qt_form.h"
#include "runtime/qt/qt_runtime.h"

namespace tolvane::testing {

// The Qt runtime driven by tests, which find each form's window as the toolkit holds it: the
// window that appeared as the form was made; a control by the slot its widget carries.
class QtDrivenRuntime final : public Driven<runtime::QtRuntime> {
 public:
  using Driven::Driven;

  QWidget& Window() {
    if (window_.isNull()) throw std::logic_error("no window");
    return *window_;
  }
  // The widget made for a slot; null for a timer.
  QWidget* WidgetAt(std::size_t slot) {
    for (QWidget* widget : Window().findChildren<QWidget*>()) {
      if (widget->property(runtime::kSlotProperty) == QVariant::fromValue(slot)) return widget;
    }
    return nullptr;
  }

 protected:
  std::unique_ptr<runtime::ToolkitForm> MakeForm(const runtime::FormLayout& layout,
                                                 runtime::FormEvents& events, const bool& ended,
                                                 runtime::EventPort::FailHandler fail) override {
    const QWidgetList before = QApplication::topLevelWidgets();
    auto form = QtRuntime::MakeForm(layout, events, ended, std::move(fail));
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      // Not a list's drop-down, which the toolkit may make as a window of its own.
      if (!before.contains(widget) && widget->windowType() == Qt::Window) window_ = widget;
    }
    return form;
  }

 private:
  QPointer<QWidget> window_;
};

}  // namespace tolvane::testing
