#pragma once

#include <cstdint>

namespace tolvane {

// A source of independent, uniformly distributed 32-bit words. The program uses the
// operating system's cryptographic generator; tests inject deterministic sources.
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  virtual std::uint32_t NextWord() = 0;
};

// An exactly uniform integer in [0, n) for n >= 1, by rejection: words below 2^32 mod n
// are drawn again, so every residue is hit by the same number of accepted words.
std::uint32_t UniformBelow(RandomSource& source, std::uint32_t n);

}  // namespace tolvane
