#pragma once

#include "generator/random_source.h"

namespace tolvane::runtime {

// Tells whether another instance of the program already runs for this user.
class InstanceCheck {
 public:
  virtual ~InstanceCheck() = default;
  // Claims the program for this process on the first call; true when another holds it.
  virtual bool AnotherIsRunning() = 0;
  // Gives the claim up while the process runs on unseen, so that a new start is a first start.
  virtual void GiveUp() {}
};

// What a runtime takes from the operating system. The program's main composes them, so a
// toolkit's runtime knows no platform and tests can hand in their own.
struct Services {
  RandomSource& random;
  InstanceCheck& instance;
};

}  // namespace tolvane::runtime
