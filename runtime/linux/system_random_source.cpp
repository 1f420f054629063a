#include "runtime/linux/system_random_source.h"

#include <sodium.h>

#include <stdexcept>

namespace tolvane::runtime {

SystemRandomSource::SystemRandomSource() {
  if (sodium_init() < 0) throw std::runtime_error("libsodium failed to initialise");
}

std::uint32_t SystemRandomSource::NextWord() { return randombytes_random(); }

}  // namespace tolvane::runtime
