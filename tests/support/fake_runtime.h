#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runtime/toolkit_runtime.h"

namespace tolvane::testing {

// What the fake keeps for a test to read, ahead of the runtime that uses it.
struct FakeRecord : runtime::InstanceCheck {
  bool AnotherIsRunning() override {
    log.push_back("PrevInstance");
    return anotherInstance;
  }
  bool anotherInstance = false;  // what PrevInstance answers
  bool shown = false;
  int endCalls = 0;
  std::string failure;                      // the message a failure showed
  std::function<void()> whileFailureShown;  // runs while it is shown
  std::vector<std::string> log;
};

// An instant, widget-free runtime on the toolkits' own event port and bookkeeping, held to
// the same contract tests. It logs every event and every property write, so tests can check
// order and nesting; it plays the user, and time passes when a test says so.
class FakeRuntime final : public FakeRecord, public runtime::ToolkitRuntime {
 public:
  explicit FakeRuntime(RandomSource& random);
  ~FakeRuntime() override;

  runtime::Form& CreateForm(const runtime::FormLayout& layout,
                            runtime::FormEvents& events) override;
  void End() override;
  using ToolkitRuntime::Start;       // Load and show, without a loop
  runtime::ToolkitForm& LastForm();  // throws std::logic_error before the first

  // The user.
  void UserClick(std::size_t slot);  // check box (flips it) or label
  void UserChoose(std::size_t slot, int index);
  void PressKey(std::size_t slot, std::int16_t keyCode, std::int16_t shift = 0);
  void CloseWindow();
  void AdvanceMs(int ms);  // time passes: timers tick

  // What a test reads beyond the controls' own properties, of the form made last.
  std::vector<std::string> Items(std::size_t list) const;
  const runtime::FormLayout& Layout() const;

  class Form;

 protected:
  std::unique_ptr<runtime::ToolkitForm> MakeForm(const runtime::FormLayout& layout,
                                                 runtime::FormEvents& events, const bool& ended,
                                                 runtime::EventPort::FailHandler fail) override;
  void Loop() override {}  // the test drives events after Run
  void Quit() override {}
  void ShowFailure(const std::string& message) override {
    failure = message;
    if (whileFailureShown) whileFailureShown();
  }

 private:
  class LoggedEvents;
  Form& form() const;
  std::vector<std::unique_ptr<LoggedEvents>> events_;
};

}  // namespace tolvane::testing
