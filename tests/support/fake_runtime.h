#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "runtime/runtime.h"

namespace tolvane::testing {

// An instant, widget-free runtime with the contract's event rules. It logs every event and
// every property write, so tests can check order and nesting, and it plays the user.
class FakeRuntime final : public runtime::Runtime {
 public:
  explicit FakeRuntime(RandomSource& random);
  ~FakeRuntime() override;

  // Runtime
  bool PrevInstance() override;
  RandomSource& Random() override { return random_; }
  void End() override;
  runtime::Form& CreateForm(const runtime::FormLayout& layout,
                            runtime::FormEvents& events) override;
  int Run(runtime::Form& form) override;

  // The user.
  void UserClick(std::size_t slot);  // check box (flips it) or label
  void UserChoose(std::size_t slot, int index);
  void PressKey(std::size_t slot, std::int16_t keyCode, std::int16_t shift = 0);
  void CloseWindow();
  void AdvanceMs(int ms);

  // What a test reads.
  std::int16_t CheckValue(std::size_t slot) const;
  runtime::Color ForeColor(std::size_t slot) const;
  std::vector<std::string> Items(std::size_t slot) const;
  int ListIndex(std::size_t slot) const;
  std::string Text(std::size_t slot) const;
  bool TimerEnabled(std::size_t slot) const;

  bool anotherInstance = false;  // what PrevInstance answers
  bool ended = false;
  bool shown = false;
  int endCalls = 0;
  std::vector<std::string> log;

  class Form;

 private:
  Form& form() const;
  RandomSource& random_;
  std::unique_ptr<Form> form_;
};

}  // namespace tolvane::testing
