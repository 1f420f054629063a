#include "runtime/system/block_random_source.h"

namespace tolvane::system {

// The block goes with the source: wipe it first.
BlockRandomSource::~BlockRandomSource() {
  Discard();
}

std::uint8_t BlockRandomSource::NextByte() {
  if (next_ == kBlockBytes) {
    Fetch(block_);
    next_ = 0;
  }
  const std::uint8_t byte = block_[next_];
  // Volatile stores the compiler may not drop, however dead they look.
  static_cast<volatile std::uint8_t&>(block_[next_]) = 0;
  ++next_;
  return byte;
}

void BlockRandomSource::Discard() {
  volatile std::uint8_t* bytes = block_.data();
  for (std::size_t i = next_; i < kBlockBytes; ++i) bytes[i] = 0;  // the rest is wiped already
  next_ = kBlockBytes;
}

}  // namespace tolvane::system
