#pragma once

namespace tolvane::runtime {

// On Linux, Qt's accessible combo box reports its current entry as its name. Lists that carry
// an accessible name of their own speak that name instead, and their entry as the value.
// Installing more than once does nothing.
void InstallNamedListAccessibility();

}  // namespace tolvane::runtime
