#include "runtime/system/single_instance.h"

namespace tolvane::system {

// The constructor and destructor live with each platform's claim.

bool SingleInstance::AnotherIsRunning() {
  if (!answer_) answer_ = Ask();
  return answer_.value_or(false);  // cannot tell: let this start go ahead
}

}  // namespace tolvane::system
