#include "fake_runtime.h"

#include <stdexcept>

#include "runtime/windowless/value_control.h"
#include "runtime_harness.h"

namespace tolvane::testing {

using runtime::ControlKind;
using runtime::ValueControl;

namespace {

const runtime::ControlLayout& At(const runtime::FormLayout& layout, std::size_t slot) {
  if (slot >= layout.controls.size()) throw std::out_of_range("no such slot");
  return layout.controls[slot];
}

std::string NameOf(const runtime::FormLayout& layout, std::size_t slot) {
  const auto& c = At(layout, slot);
  return std::string(c.name) + (c.index ? "(" + std::to_string(c.index) + ")" : "");
}

}  // namespace

// The logic's events, logged around their delivery so that nesting shows.
class FakeRuntime::LoggedEvents final : public runtime::FormEvents {
 public:
  LoggedEvents(FakeRuntime& owner, const runtime::FormLayout& layout, FormEvents& logic)
      : owner_(owner), layout_(layout), logic_(logic) {}

  void Load() override {
    Logged("Load", [&] { logic_.Load(); });
  }
  void Unload() override {
    Logged("Unload", [&] { logic_.Unload(); });
  }
  void Click(std::size_t slot) override {
    Logged("Click " + NameOf(layout_, slot), [&] { logic_.Click(slot); });
  }
  void KeyDown(std::size_t slot, std::int16_t key, std::int16_t shift) override {
    Logged("KeyDown " + NameOf(layout_, slot) + " " + std::to_string(key),
           [&] { logic_.KeyDown(slot, key, shift); });
  }
  void TimerTick(std::size_t slot) override {
    Logged("Timer " + NameOf(layout_, slot), [&] { logic_.TimerTick(slot); });
  }

 private:
  void Logged(const std::string& what, auto&& deliver) {
    owner_.log.push_back(what);
    deliver();
    owner_.log.push_back("end " + what);
  }

  FakeRuntime& owner_;
  const runtime::FormLayout& layout_;
  FormEvents& logic_;
};

// Each control holds its values in a ValueControl, as a start without a window does; the
// fake logs every property write on the way in.
class FakeRuntime::Form final : public runtime::ToolkitForm {
 public:
  Form(FakeRuntime& owner, const runtime::FormLayout& layout, runtime::FormEvents& events,
       const bool& ended, runtime::EventPort::FailHandler fail);

  void Show() override { owner_.shown = true; }
  void Hide() override { owner_.shown = false; }

  // The control as the user meets it, past the log; throws for another kind.
  ValueControl& Value(std::size_t slot, ControlKind kind) const {
    if (At(layout_, slot).kind != kind)
      throw std::logic_error(NameOf(layout_, slot) + " is another kind");
    return *values_[slot];
  }
  const runtime::FormLayout& Layout() const { return layout_; }

  void Advance1Ms() {
    for (std::size_t slot = 0; slot < layout_.controls.size(); ++slot) {
      if (layout_.controls[slot].kind != ControlKind::Timer || !values_[slot]->Enabled()) continue;
      if (++elapsedMs_[slot] >= layout_.controls[slot].intervalMs) {
        elapsedMs_[slot] = 0;
        Port().TimerTick(slot);
      }
    }
  }

 private:
  struct Logged;

  FakeRuntime& owner_;
  const runtime::FormLayout& layout_;
  std::vector<std::unique_ptr<ValueControl>> values_;
  std::vector<int> elapsedMs_;
};

struct FakeRuntime::Form::Logged final : runtime::AnyControl {
  Logged(Form& form, std::size_t slot) : form(form), slot(slot), value(*form.values_[slot]) {}

  void Write(const std::string& property) const {
    form.owner_.log.push_back(NameOf(form.layout_, slot) + "." + property);
  }

  std::int16_t Value() const override { return value.Value(); }
  void SetValue(std::int16_t v) override {
    Write("Value=" + std::to_string(v != 0 ? 1 : 0));
    value.SetValue(v);
  }
  runtime::Color ForeColor() const override { return value.ForeColor(); }
  void SetForeColor(runtime::Color c) override {
    Write("ForeColor=" + std::to_string(c));
    value.SetForeColor(c);
  }

  void AddItem(std::string_view text) override { value.AddItem(text); }
  int ListCount() const override { return value.ListCount(); }
  int ListIndex() const override { return value.ListIndex(); }
  void SetListIndex(int index) override {
    Write("ListIndex=" + std::to_string(index));
    value.SetListIndex(index);
  }

  std::string Text() const override { return value.Text(); }
  void SetText(std::string_view t) override {
    Write("Text");
    value.SetText(t);
  }

  bool Enabled() const override { return value.Enabled(); }
  void SetEnabled(bool on) override {  // not logged: the runtime stops timers itself at the end
    if (on && !value.Enabled()) form.elapsedMs_[slot] = 0;  // a full interval from now
    value.SetEnabled(on);
  }

  Form& form;
  std::size_t slot;
  ValueControl& value;
};

FakeRuntime::Form::Form(FakeRuntime& owner, const runtime::FormLayout& layout,
                        runtime::FormEvents& events, const bool& ended,
                        runtime::EventPort::FailHandler fail)
    : ToolkitForm(events, ended, std::move(fail)), owner_(owner), layout_(layout) {
  for (std::size_t slot = 0; slot < layout.controls.size(); ++slot)
    values_.push_back(std::make_unique<ValueControl>(Port(), slot, layout.controls[slot]));
  HoldControls(layout, [this](std::size_t slot) { return std::make_unique<Logged>(*this, slot); });
  elapsedMs_.assign(layout.controls.size(), 0);
}

FakeRuntime::FakeRuntime(RandomSource& random) : ToolkitRuntime({random, *this}, kTestProgram) {}
FakeRuntime::~FakeRuntime() = default;

runtime::Form& FakeRuntime::CreateForm(const runtime::FormLayout& layout,
                                       runtime::FormEvents& events) {
  events_.push_back(std::make_unique<LoggedEvents>(*this, layout, events));
  return ToolkitRuntime::CreateForm(layout, *events_.back());
}

std::unique_ptr<runtime::ToolkitForm> FakeRuntime::MakeForm(const runtime::FormLayout& layout,
                                                            runtime::FormEvents& events,
                                                            const bool& ended,
                                                            runtime::EventPort::FailHandler fail) {
  return std::make_unique<Form>(*this, layout, events, ended, std::move(fail));
}

void FakeRuntime::End() {
  log.push_back("End");
  ++endCalls;
  ToolkitRuntime::End();
}

runtime::ToolkitForm& FakeRuntime::LastForm() {
  if (Forms().empty()) throw std::logic_error("no form yet");
  return *Forms().back();
}

FakeRuntime::Form& FakeRuntime::form() const {
  return static_cast<Form&>(const_cast<FakeRuntime*>(this)->LastForm());
}

void FakeRuntime::UserClick(std::size_t slot) {
  if (Ended()) return;
  switch (At(form().Layout(), slot).kind) {
    case ControlKind::CheckBox: {
      ValueControl& box = form().Value(slot, ControlKind::CheckBox);
      box.SetValue(box.Value() == 0 ? 1 : 0);
      break;
    }
    case ControlKind::Label:
      form().Port().Click(slot);
      break;
    default:
      throw std::logic_error(NameOf(form().Layout(), slot) + " takes no click here");
  }
}

void FakeRuntime::UserChoose(std::size_t slot, int index) {
  ValueControl& list = form().Value(slot, ControlKind::ComboBox);
  if (!Ended() && index >= 0 && index < list.ListCount()) list.SetListIndex(index);
}

void FakeRuntime::PressKey(std::size_t slot, std::int16_t keyCode, std::int16_t shift) {
  form().Port().KeyDown(slot, keyCode, shift);
}

void FakeRuntime::CloseWindow() {
  form().Unload();
}

void FakeRuntime::AdvanceMs(int ms) {
  for (int step = 0; step < ms; ++step) form().Advance1Ms();
}

std::vector<std::string> FakeRuntime::Items(std::size_t list) const {
  return form().Value(list, ControlKind::ComboBox).Items();
}
const runtime::FormLayout& FakeRuntime::Layout() const {
  return form().Layout();
}

}  // namespace tolvane::testing
