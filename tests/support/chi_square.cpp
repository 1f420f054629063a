#include "chi_square.h"

#include <boost/math/distributions/chi_squared.hpp>
#include <numeric>
#include <stdexcept>

namespace tolvane::testing {

ChiSquareResult UniformChiSquare(const std::vector<std::uint64_t>& counts) {
  if (counts.size() < 2) throw std::invalid_argument("need at least two cells");
  const double total = std::accumulate(counts.begin(), counts.end(), 0.0);
  const double expected = total / static_cast<double>(counts.size());
  ChiSquareResult result;
  for (std::uint64_t observed : counts) {
    const double diff = static_cast<double>(observed) - expected;
    result.statistic += diff * diff / expected;
  }
  result.degrees = static_cast<double>(counts.size() - 1);
  result.pValue = boost::math::cdf(
      boost::math::complement(boost::math::chi_squared(result.degrees), result.statistic));
  return result;
}

}  // namespace tolvane::testing
