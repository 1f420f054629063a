// The fake runtime behind the contract suite, so that the window tests' runtime keeps the
// rules the toolkits' runtimes keep. It has no screen: what only a screen shows is skipped.
#include <chrono>
#include <stdexcept>
#include <thread>

#include "fake_runtime.h"
#include "runtime_harness.h"

namespace tolvane::testing {
namespace {

using runtime::ControlKind;

class FakeHarness final : public RuntimeHarness {
 public:
  explicit FakeHarness(runtime::Services services) : runtime_(services.random) {}

  runtime::ToolkitRuntime& Runtime() override { return runtime_; }
  void StartLastForm() override { runtime_.Start(runtime_.LastForm()); }
  bool HasScreen() const override { return false; }

  // Fake time follows the clock, so a timer's interval is real time here too.
  bool WaitFor(const std::function<bool()>& done, int ms) override {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    auto counted = start;
    while (!done() && Clock::now() - start < std::chrono::milliseconds(ms)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      const auto passed =
          std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - counted);
      runtime_.AdvanceMs(static_cast<int>(passed.count()));
      counted += passed;
    }
    return done();
  }
  // Fake time: exactly ms pass, and every timer due in them ticks.
  bool Settle(int ms) override {
    runtime_.AdvanceMs(ms);
    return true;
  }

  void ClickCheckBox(std::size_t slot) override { runtime_.UserClick(slot); }
  void ClickLabel(std::size_t slot, bool rightButton) override {
    if (!rightButton) runtime_.UserClick(slot);
  }
  void DoubleClickLabel(std::size_t slot) override { runtime_.UserClick(slot); }
  void ChooseNextEntry(std::size_t list) override {
    runtime_.UserChoose(list, Form().ComboBoxAt(list).ListIndex() + 1);
  }
  void PressKey(std::size_t slot, std::int16_t virtualKey) override {
    runtime_.PressKey(slot, virtualKey);
  }
  void CloseWindow() override { runtime_.CloseWindow(); }
  std::string ReadMessageDuring(const std::function<void()>& act,
                                const std::function<void()>& whileShown) override {
    runtime_.failure.clear();
    runtime_.whileFailureShown = whileShown;
    act();
    runtime_.whileFailureShown = nullptr;
    return runtime_.failure;
  }

  bool WindowVisible() override { return runtime_.shown; }
  bool Checked(std::size_t box) override { return Form().CheckBoxAt(box).Value() == 1; }
  std::string ShownText(std::size_t slot) override {
    switch (Layout(slot).kind) {
      case ControlKind::ComboBox: {
        const int index = Form().ComboBoxAt(slot).ListIndex();
        return index < 0 ? std::string() : runtime_.Items(slot).at(index);
      }
      case ControlKind::TextBox:
        return Form().TextBoxAt(slot).Text();
      default:
        return std::string(Layout(slot).caption);
    }
  }
  runtime::Color CaptionColor(std::size_t slot) override {
    return Layout(slot).kind == ControlKind::CheckBox ? Form().CheckBoxAt(slot).ForeColor()
                                                      : Layout(slot).foreColor;
  }

  // Only a screen shows these.
  void PressKeyWhereFocused(std::int16_t) override { NoScreen(); }
  void OpenList(std::size_t) override { NoScreen(); }
  std::string Title() override { return NoScreen(), std::string(); }
  PixelRect ClientArea() override { return NoScreen(), PixelRect{}; }
  PixelRect RectOf(std::size_t) override { return NoScreen(), PixelRect{}; }
  std::optional<std::size_t> ControlAt(int, int) override { return NoScreen(), std::nullopt; }
  std::optional<std::size_t> FocusAfterTab(std::size_t) override {
    return NoScreen(), std::nullopt;
  }
  bool ListOpen(std::size_t) override { return NoScreen(), false; }

 private:
  runtime::Form& Form() { return runtime_.LastForm(); }
  const runtime::ControlLayout& Layout(std::size_t slot) {
    return runtime_.Layout().controls[slot];
  }
  [[noreturn]] static void NoScreen() { throw std::logic_error("the fake runtime has no screen"); }

  FakeRuntime runtime_;
};

}  // namespace

std::unique_ptr<RuntimeHarness> MakeHarness(runtime::Services services) {
  return std::make_unique<FakeHarness>(services);
}

}  // namespace tolvane::testing
