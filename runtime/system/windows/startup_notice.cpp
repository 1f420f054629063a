#include "runtime/system/startup_notice.h"

namespace tolvane::system {

void CompleteStartupNotice() {}

}  // namespace tolvane::system
