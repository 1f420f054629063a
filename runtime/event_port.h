#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <string_view>

#include "runtime/form.h"

namespace tolvane::runtime {

// Hands a form's events to its logic until the process has ended; after that, nothing. It is
// the one door from a toolkit into the logic, so no exception passes it back into the
// toolkit's frames: whatever a handler throws goes to `fail`.
class EventPort {
 public:
  using FailHandler = std::function<void(std::string_view what)>;

  EventPort(FormEvents& events, const bool& ended, FailHandler fail)
      : events_(events), ended_(ended), fail_(std::move(fail)) {}

  void Load() {
    Deliver([](FormEvents& e) { e.Load(); });
  }
  void Unload() {
    Deliver([](FormEvents& e) { e.Unload(); });
  }
  void Click(std::size_t slot) {
    Deliver([slot](FormEvents& e) { e.Click(slot); });
  }
  void KeyDown(std::size_t slot, std::int16_t key, std::int16_t shift) {
    Deliver([=](FormEvents& e) { e.KeyDown(slot, key, shift); });
  }
  void TimerTick(std::size_t slot) {
    Deliver([slot](FormEvents& e) { e.TimerTick(slot); });
  }

 private:
  template <typename Event>
  void Deliver(Event event) noexcept {
    if (ended_) return;
    try {
      event(events_);
    } catch (const std::exception& error) {
      fail_(error.what());
    } catch (...) {
      fail_({});  // no reason to give
    }
  }

  FormEvents& events_;
  const bool& ended_;
  FailHandler fail_;
};

}  // namespace tolvane::runtime
