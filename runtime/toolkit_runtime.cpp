#include "runtime/toolkit_runtime.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace tolvane::runtime {

CheckBox& ToolkitForm::CheckBoxAt(std::size_t slot) {
  return RequireKind(controls_.at(slot).checkBox, "check box");
}
ComboBox& ToolkitForm::ComboBoxAt(std::size_t slot) {
  return RequireKind(controls_.at(slot).comboBox, "list");
}
TextBox& ToolkitForm::TextBoxAt(std::size_t slot) {
  return RequireKind(controls_.at(slot).textBox, "text box");
}
Timer& ToolkitForm::TimerAt(std::size_t slot) {
  return RequireKind(controls_.at(slot).timer, "timer");
}

void ToolkitForm::HoldControls(
    const FormLayout& layout, const std::function<std::unique_ptr<AnyControl>(std::size_t)>& make) {
  controls_.resize(layout.controls.size());
  for (std::size_t slot = 0; slot < layout.controls.size(); ++slot) {
    SlotControls& c = controls_[slot];
    switch (layout.controls[slot].kind) {
      case ControlKind::CheckBox:
        c.checkBox = make(slot);
        break;
      case ControlKind::ComboBox:
        c.comboBox = make(slot);
        break;
      case ControlKind::TextBox:
        c.textBox = make(slot);
        break;
      case ControlKind::Timer:
        c.timer = make(slot);
        break;
      case ControlKind::Frame:
      case ControlKind::Label:
        break;
    }
  }
}

void ToolkitForm::Unload() {
  port_.Unload();
  Hide();
  unloaded_ = true;
  if (whenUnloaded_) whenUnloaded_();
}

void ToolkitForm::StopTimers() {
  for (SlotControls& c : controls_) {
    if (c.timer) c.timer->SetEnabled(false);
  }
}

Form& ToolkitRuntime::CreateForm(const FormLayout& layout, FormEvents& events) {
  forms_.push_back(MakeForm(layout, events, ended_, [this](std::string_view what) { Fail(what); }));
  forms_.back()->WhenUnloaded([this] {
    if (!ended_ &&
        std::all_of(forms_.begin(), forms_.end(), [](auto& form) { return form->Unloaded(); }))
      End();
  });
  return *forms_.back();
}

ToolkitForm& ToolkitRuntime::Own(Form& form) {
  for (auto& owned : forms_) {
    if (owned.get() == &form) return *owned;
  }
  throw std::logic_error("the form was not created by this runtime");
}

void ToolkitRuntime::Start(Form& form) {
  ToolkitForm& own = Own(form);
  own.Port().Load();
  if (!ended_) own.Show();
}

int ToolkitRuntime::Run(Form& form) {
  Start(form);
  if (!ended_) Loop();
  return status_;
}

void ToolkitRuntime::End() {
  if (ended_) return;
  EndWith(0);
  Quit();
}

void ToolkitRuntime::EndWith(int status) {
  ended_ = true;  // from here on no event reaches the logic
  status_ = status;
  for (auto& form : forms_) {
    form->StopTimers();
    form->Hide();
  }
}

void ToolkitRuntime::Fail(std::string_view what) {
  if (ended_) return;
  EndWith(1);
  const std::string message = FailureMessage(program_, what);
  std::fprintf(stderr, "%.*s: %s\n", static_cast<int>(program_.command.size()),
               program_.command.data(), message.c_str());
  std::fflush(stderr);
  ShowFailure(message);
  Quit();
}

}  // namespace tolvane::runtime
