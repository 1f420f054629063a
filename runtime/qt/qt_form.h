#pragma once

#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

#include "runtime/control_layout.h"
#include "runtime/qt/qt_controls.h"
#include "runtime/qt/qt_form_colors.h"
#include "runtime/toolkit_runtime.h"

namespace tolvane::runtime {

// A window and its controls built from a layout with Qt Widgets; a frame's controls are
// its child widgets.
// Each control's widget carries its slot in this property.
inline constexpr char kSlotProperty[] = "tolvaneSlot";

class QtForm final : public ToolkitForm {
 public:
  QtForm(const FormLayout& layout, FormEvents& events, const bool& ended,
         EventPort::FailHandler fail, bool highContrast);
  ~QtForm() override;

  void Show() override;
  void Hide() override;
  // The desktop's colours while it asks for high contrast, the designed ones otherwise.
  void FollowContrast(bool high);

 private:
  void Build();
  void TakeColors();
  QWidget* Create(std::size_t slot, const FormLayout& layout, QWidget& parent);
  QWidget* MakeControl(std::size_t slot, const FormLayout& layout, QWidget& parent);
  void Dress(std::size_t slot, const ControlLayout& control, QWidget& widget);
  QWidget* MakeLabel(std::size_t slot, const ControlLayout& control, QWidget& parent);

  const FormLayout& layout_;
  FormColors colors_;
  std::unique_ptr<QWidget> window_;
  std::unique_ptr<QObject> keyFilter_;
  std::vector<QWidget*> widgets_;
  QWidget* firstFocus_ = nullptr;
  int dpi_ = 96;
};

}  // namespace tolvane::runtime
