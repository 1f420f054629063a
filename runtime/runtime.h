#pragma once

#include "generator/random_source.h"
#include "runtime/control_layout.h"
#include "runtime/form.h"

namespace tolvane::runtime {

// The services the window logic needs from the platform.
class Runtime {
 public:
  virtual ~Runtime() = default;

  // True when another instance of the program already runs for this user.
  virtual bool PrevInstance() = 0;

  // The operating system's cryptographic generator; needs no seed.
  virtual RandomSource& Random() = 0;

  // Ends the process with status 0: no further event is delivered.
  virtual void End() = 0;

  // Builds the window and all its controls, hidden; raises nothing.
  virtual Form& CreateForm(const FormLayout& layout, FormEvents& events) = 0;

  // Raises Load, shows the window unless the process was ended, runs the event loop and
  // returns the exit status.
  virtual int Run(Form& form) = 0;
};

}  // namespace tolvane::runtime
