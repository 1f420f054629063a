#pragma once

#include "runtime/block_random_source.h"

namespace tolvane::runtime {

// The kernel's cryptographic generator (getrandom).
class SystemRandomSource final : public BlockRandomSource {
 protected:
  std::uint64_t Fetch(std::span<std::uint8_t> block) override;
};

}  // namespace tolvane::runtime
