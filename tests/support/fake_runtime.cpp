#include "fake_runtime.h"

#include <stdexcept>

namespace tolvane::testing {

using runtime::ControlKind;

class FakeRuntime::Form final : public runtime::Form {
 public:
  struct Control;

  Form(FakeRuntime& owner, const runtime::FormLayout& layout, runtime::FormEvents& events)
      : owner_(owner), layout_(layout), events_(events) {
    controls_.reserve(layout.controls.size());
    for (std::size_t slot = 0; slot < layout.controls.size(); ++slot) {
      controls_.push_back(std::make_unique<Control>(*this, slot));
    }
  }

  std::string NameOf(std::size_t slot) const {
    const auto& c = layout_.controls[slot];
    return std::string(c.name) + (c.index ? "(" + std::to_string(c.index) + ")" : "");
  }
  ControlKind KindOf(std::size_t slot) const {
    if (slot >= layout_.controls.size()) throw std::out_of_range("no such slot");
    return layout_.controls[slot].kind;
  }

  void Raise(const std::string& what, auto&& deliver) {
    if (owner_.ended) return;
    owner_.log.push_back(what);
    deliver(events_);
    owner_.log.push_back("end " + what);
  }
  void Write(std::size_t slot, const std::string& property) {
    owner_.log.push_back(NameOf(slot) + "." + property);
  }

  Control& At(std::size_t slot, ControlKind kind) const {
    if (KindOf(slot) != kind) throw std::logic_error(NameOf(slot) + " is another kind");
    return *controls_.at(slot);
  }

  runtime::CheckBox& CheckBoxAt(std::size_t slot) override;
  runtime::ComboBox& ComboBoxAt(std::size_t slot) override;
  runtime::TextBox& TextBoxAt(std::size_t slot) override;
  runtime::Timer& TimerAt(std::size_t slot) override;
  void Unload() override {
    Raise("Unload", [](auto& e) { e.Unload(); });
    owner_.shown = false;
  }

  FakeRuntime& owner_;
  const runtime::FormLayout& layout_;
  runtime::FormEvents& events_;
  std::vector<std::unique_ptr<Control>> controls_;
};

// One control of any kind; the form hands it out only as the kind its layout gives.
struct FakeRuntime::Form::Control final : runtime::CheckBox,
                                          runtime::ComboBox,
                                          runtime::TextBox,
                                          runtime::Timer {
  Control(Form& form, std::size_t slot) : form(form), slot(slot) {
    const auto& layout = form.layout_.controls[slot];
    value = static_cast<std::int16_t>(layout.value);
    foreColor = layout.foreColor;
  }

  void Click() {
    form.Raise("Click " + form.NameOf(slot), [this](auto& e) { e.Click(slot); });
  }

  std::int16_t Value() const override { return value; }
  void SetValue(std::int16_t v) override {
    const std::int16_t newValue = v != 0 ? 1 : 0;
    form.Write(slot, "Value=" + std::to_string(newValue));
    if (newValue == value) return;
    value = newValue;
    Click();
  }
  runtime::Color ForeColor() const override { return foreColor; }
  void SetForeColor(runtime::Color c) override {
    form.Write(slot, "ForeColor=" + std::to_string(c));
    foreColor = c;
  }

  void AddItem(std::string_view text) override { items.emplace_back(text); }
  int ListCount() const override { return static_cast<int>(items.size()); }
  int ListIndex() const override { return listIndex; }
  void SetListIndex(int index) override {
    form.Write(slot, "ListIndex=" + std::to_string(index));
    if (index < -1 || index >= ListCount()) return;
    listIndex = index;
    Click();
  }

  std::string Text() const override { return text; }
  void SetText(std::string_view t) override {
    form.Write(slot, "Text");
    text = t;
  }

  bool Enabled() const override { return enabled; }
  void SetEnabled(bool on) override {
    form.Write(slot, on ? "Enabled=True" : "Enabled=False");
    if (on && !enabled) elapsedMs = 0;
    enabled = on;
  }

  Form& form;
  std::size_t slot;
  std::int16_t value = 0;
  runtime::Color foreColor = runtime::kBlack;
  std::vector<std::string> items;
  int listIndex = -1;
  std::string text;
  bool enabled = false;
  int elapsedMs = 0;
};

runtime::CheckBox& FakeRuntime::Form::CheckBoxAt(std::size_t slot) {
  return At(slot, ControlKind::CheckBox);
}
runtime::ComboBox& FakeRuntime::Form::ComboBoxAt(std::size_t slot) {
  return At(slot, ControlKind::ComboBox);
}
runtime::TextBox& FakeRuntime::Form::TextBoxAt(std::size_t slot) {
  return At(slot, ControlKind::TextBox);
}
runtime::Timer& FakeRuntime::Form::TimerAt(std::size_t slot) {
  return At(slot, ControlKind::Timer);
}

FakeRuntime::FakeRuntime(RandomSource& random) : random_(random) {}
FakeRuntime::~FakeRuntime() = default;

bool FakeRuntime::PrevInstance() {
  log.push_back("PrevInstance");
  return anotherInstance;
}

void FakeRuntime::End() {
  log.push_back("End");
  ++endCalls;
  ended = true;
  shown = false;
}

runtime::Form& FakeRuntime::CreateForm(const runtime::FormLayout& layout,
                                       runtime::FormEvents& events) {
  form_ = std::make_unique<Form>(*this, layout, events);
  return *form_;
}

int FakeRuntime::Run(runtime::Form& form) {
  if (&form != form_.get()) throw std::logic_error("not this runtime's form");
  form_->Raise("Load", [](auto& e) { e.Load(); });
  if (!ended) shown = true;
  return 0;
}

FakeRuntime::Form& FakeRuntime::form() const {
  if (!form_) throw std::logic_error("no form yet");
  return *form_;
}

void FakeRuntime::UserClick(std::size_t slot) {
  auto& c = *form().controls_.at(slot);
  if (form().KindOf(slot) == ControlKind::CheckBox) {
    if (ended) return;
    c.value = c.value == 0 ? 1 : 0;
    c.Click();
  } else if (form().KindOf(slot) == ControlKind::Label) {
    c.Click();
  } else {
    throw std::logic_error(form().NameOf(slot) + " takes no click here");
  }
}

void FakeRuntime::UserChoose(std::size_t slot, int index) {
  auto& c = form().At(slot, ControlKind::ComboBox);
  if (ended || index < 0 || index >= c.ListCount()) return;
  c.listIndex = index;
  c.Click();
}

void FakeRuntime::PressKey(std::size_t slot, std::int16_t keyCode, std::int16_t shift) {
  form().Raise("KeyDown " + form().NameOf(slot) + " " + std::to_string(keyCode),
               [&](auto& e) { e.KeyDown(slot, keyCode, shift); });
}

void FakeRuntime::CloseWindow() {
  form().Unload();
}

void FakeRuntime::AdvanceMs(int ms) {
  for (int step = 0; step < ms; ++step) {
    for (std::size_t slot = 0; slot < form().controls_.size(); ++slot) {
      if (form().KindOf(slot) != ControlKind::Timer) continue;
      auto& c = *form().controls_[slot];
      if (!c.enabled) continue;
      if (++c.elapsedMs >= form().layout_.controls[slot].intervalMs) {
        c.elapsedMs = 0;
        form().Raise("Timer " + form().NameOf(slot), [slot](auto& e) { e.TimerTick(slot); });
      }
    }
  }
}

std::int16_t FakeRuntime::CheckValue(std::size_t slot) const {
  return form().At(slot, ControlKind::CheckBox).value;
}
runtime::Color FakeRuntime::ForeColor(std::size_t slot) const {
  return form().At(slot, ControlKind::CheckBox).foreColor;
}
std::vector<std::string> FakeRuntime::Items(std::size_t slot) const {
  return form().At(slot, ControlKind::ComboBox).items;
}
int FakeRuntime::ListIndex(std::size_t slot) const {
  return form().At(slot, ControlKind::ComboBox).listIndex;
}
std::string FakeRuntime::Text(std::size_t slot) const {
  return form().At(slot, ControlKind::TextBox).text;
}
bool FakeRuntime::TimerEnabled(std::size_t slot) const {
  return form().At(slot, ControlKind::Timer).enabled;
}

}  // namespace tolvane::testing
