#include "runtime/system/system_random_source.h"

// clang-format off
#include <windows.h>
#include <bcrypt.h>
// clang-format on

#include <stdexcept>

namespace tolvane::system {

std::uint64_t SystemRandomSource::Fetch(std::span<std::uint8_t> block) {
  const NTSTATUS status = BCryptGenRandom(nullptr, block.data(), static_cast<ULONG>(block.size()),
                                          BCRYPT_USE_SYSTEM_PREFERRED_RNG);
  if (status < 0) throw std::runtime_error("BCryptGenRandom failed");
  return 1;
}

}  // namespace tolvane::system
