#include "generator/random_source.h"

namespace tolvane {

std::uint32_t UniformBelow(RandomSource& source, std::uint32_t n) {
  if (n <= 1) return 0;
  const std::uint32_t rejectBelow = (0u - n) % n;  // 2^32 mod n
  for (;;) {
    const std::uint32_t word = source.NextWord();
    if (word >= rejectBelow) return word % n;
  }
}

}  // namespace tolvane
