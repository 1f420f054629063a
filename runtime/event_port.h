#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/form.h"

namespace tolvane::runtime {

// Hands a form's events to its logic until the process has ended; after that, nothing.
class EventPort {
 public:
  EventPort(FormEvents& events, const bool& ended) : events_(events), ended_(ended) {}
  void Load() {
    if (!ended_) events_.Load();
  }
  void Unload() {
    if (!ended_) events_.Unload();
  }
  void Click(std::size_t slot) {
    if (!ended_) events_.Click(slot);
  }
  void KeyDown(std::size_t slot, std::int16_t key, std::int16_t shift) {
    if (!ended_) events_.KeyDown(slot, key, shift);
  }
  void TimerTick(std::size_t slot) {
    if (!ended_) events_.TimerTick(slot);
  }

 private:
  FormEvents& events_;
  const bool& ended_;
};

}  // namespace tolvane::runtime
