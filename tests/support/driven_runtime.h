#pragma once

#include <stdexcept>

#include "runtime/toolkit_runtime.h"

namespace tolvane::testing {

// A toolkit's runtime as the tests drive it: Load and the window shown without entering the
// event loop, and the form made last, which the logic holds and the tests need.
template <typename Toolkit>
class Driven : public Toolkit {
 public:
  using Toolkit::Toolkit;
  void Start(runtime::Form& form) { runtime::ToolkitRuntime::Start(form); }
  // Throws std::logic_error before the first form.
  runtime::ToolkitForm& LastForm() {
    if (this->Forms().empty()) throw std::logic_error("no form yet");
    return *this->Forms().back();
  }
};

}  // namespace tolvane::testing
