#include "runtime/linux/system_random_source.h"

#include <sys/random.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace tolvane::runtime {

SystemRandomSource::~SystemRandomSource() {
  Wipe();
}

void SystemRandomSource::Refill() {
  std::size_t filled = 0;
  while (filled < sizeof block_) {
    // Blocks only until the kernel's generator is first seeded, early in boot.
    const ssize_t got = getrandom(block_.data() + filled, sizeof block_ - filled, 0);
    if (got < 0) {
      if (errno == EINTR) continue;
      throw std::runtime_error(std::string("getrandom failed: ") + std::strerror(errno));
    }
    filled += static_cast<std::size_t>(got);
    ++requests_;
  }
  next_ = 0;
}

std::uint8_t SystemRandomSource::NextByte() {
  if (next_ == kBlockBytes) Refill();
  const std::uint8_t byte = block_[next_];
  // A volatile store the compiler may not drop, however dead it looks.
  static_cast<volatile std::uint8_t&>(block_[next_]) = 0;
  ++next_;
  return byte;
}

void SystemRandomSource::Wipe() {
  explicit_bzero(block_.data(), sizeof block_);
  next_ = kBlockBytes;
}

}  // namespace tolvane::runtime
