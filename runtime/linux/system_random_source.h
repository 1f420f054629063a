#pragma once

#include "generator/random_source.h"

namespace tolvane::runtime {

// Words from the kernel's cryptographic generator (getrandom) through libsodium.
class SystemRandomSource final : public RandomSource {
 public:
  SystemRandomSource();  // throws std::runtime_error when libsodium cannot start
  std::uint32_t NextWord() override;
};

}  // namespace tolvane::runtime
