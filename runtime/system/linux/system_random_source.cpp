#include "runtime/system/system_random_source.h"

#include <sys/random.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

namespace tolvane::system {

void SystemRandomSource::Fetch(std::span<std::uint8_t> block) {
  std::size_t filled = 0;
  while (filled < block.size()) {
    // Blocks only until the kernel's generator is first seeded, early in boot.
    const ssize_t got = getrandom(block.data() + filled, block.size() - filled, 0);
    if (got < 0) {
      if (errno == EINTR) continue;
      throw std::runtime_error(
          std::string("системный генератор случайных чисел не ответил (getrandom: ") +
          std::strerror(errno) + ")");
    }
    filled += static_cast<std::size_t>(got);
  }
}

}  // namespace tolvane::system
