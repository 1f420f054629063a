#pragma once

#include <cstdint>

namespace tolvane {

// A source of independent, uniformly distributed bytes. The program uses the operating
// system's cryptographic generator; tests inject deterministic sources.
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  virtual std::uint8_t NextByte() = 0;
  // Forgets whatever randomness is held back for later draws. The program calls it before it
  // waits for input, so no unused random bytes outlive the refresh that fetched them.
  virtual void Discard() {}
};

// An exactly uniform integer in [0, n) for n >= 1, by rejection. Up to 65536 outcomes take a
// big-endian 16-bit value per try, values at or above the largest multiple of n drawn again:
// for the 160-character table that is 96 values in 65536, so the accept branch is all but
// certain and the CPU predicts it. Larger n take 32-bit words, words below 2^32 mod n drawn
// again. Either way every outcome is hit by equally many accepted values.
inline std::uint32_t UniformBelow(RandomSource& source, std::uint32_t n) {
  if (n <= 1) return 0;
  if (n <= 65536) {
    const std::uint32_t acceptBelow = 65536 - 65536 % n;
    for (;;) {
      // Two statements: the high byte is read first, whatever order a compiler would give
      // the operands of one expression.
      const std::uint32_t high = source.NextByte();
      const std::uint32_t half = high << 8 | source.NextByte();
      if (half < acceptBelow) return half % n;
    }
  }
  const std::uint32_t rejectBelow = (0u - n) % n;  // 2^32 mod n
  for (;;) {
    std::uint32_t word = 0;
    for (int i = 0; i < 4; ++i) word = word << 8 | source.NextByte();
    if (word >= rejectBelow) return word % n;
  }
}

}  // namespace tolvane
