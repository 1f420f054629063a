#include "runtime/linux/system_random_source.h"

#include <sodium.h>

#include <stdexcept>

namespace tolvane::runtime {

SystemRandomSource::SystemRandomSource() {
  if (sodium_init() < 0) throw std::runtime_error("libsodium failed to initialise");
}

SystemRandomSource::~SystemRandomSource() { Wipe(); }

std::uint32_t SystemRandomSource::NextWord() {
  if (next_ == kBlockWords) {
    randombytes_buf(block_.data(), sizeof block_);
    ++requests_;
    next_ = 0;
  }
  const std::uint32_t word = block_[next_];
  sodium_memzero(&block_[next_], sizeof word);
  ++next_;
  return word;
}

void SystemRandomSource::Wipe() {
  sodium_memzero(block_.data(), sizeof block_);
  next_ = kBlockWords;
}

}  // namespace tolvane::runtime
