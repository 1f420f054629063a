#include "runtime/system/single_instance.h"

namespace tolvane::system {

// The constructor, the destructor and GiveUp live with each platform's claim.

// The first answer stands, "cannot tell" too: every caller in the process hears the same.
bool SingleInstance::AnotherIsRunning() {
  if (!asked_) {
    answer_ = Ask();
    asked_ = true;
  }
  return answer_.value_or(false);  // cannot tell: let this start go ahead
}

}  // namespace tolvane::system
