#pragma once

#include <cstdint>
#include <vector>

namespace tolvane::testing {

struct ChiSquareResult {
  double statistic = 0;
  double degrees = 0;
  double pValue = 1;  // chance of a statistic this large from a truly uniform source
};

// Pearson's test of observed counts against equal expected counts in every cell.
ChiSquareResult UniformChiSquare(const std::vector<std::uint64_t>& counts);

// A truly uniform source fails a test at this threshold with probability one in a million.
inline constexpr double kFalseFailureOdds = 1e-6;

}  // namespace tolvane::testing
