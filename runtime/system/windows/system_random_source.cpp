#include "runtime/system/system_random_source.h"

// clang-format off
#include <windows.h>
#include <bcrypt.h>
// clang-format on

#include <cstdio>
#include <stdexcept>
#include <string>

namespace tolvane::system {

void SystemRandomSource::Fetch(std::span<std::uint8_t> block) {
  const NTSTATUS status = BCryptGenRandom(nullptr, block.data(), static_cast<ULONG>(block.size()),
                                          BCRYPT_USE_SYSTEM_PREFERRED_RNG);
  if (status < 0) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(status));
    throw std::runtime_error(
        std::string("системный генератор случайных чисел не ответил (BCryptGenRandom: ") + code +
        ")");
  }
}

}  // namespace tolvane::system
