#pragma once

#include "runtime/system/block_random_source.h"

namespace tolvane::system {

// The operating system's cryptographic generator: getrandom on Linux, BCryptGenRandom on
// Windows.
class SystemRandomSource final : public BlockRandomSource {
 protected:
  void Fetch(std::span<std::uint8_t> block) override;
};

}  // namespace tolvane::system
