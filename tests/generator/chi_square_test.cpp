#include "chi_square.h"

#include <gtest/gtest.h>

namespace tolvane::testing {
namespace {

TEST(UniformChiSquare, FlagsAMissingCellAndPassesAnEvenOne) {
  std::vector<std::uint64_t> even(160, 1000);
  EXPECT_EQ(UniformChiSquare(even).pValue, 1.0);
  std::vector<std::uint64_t> lastNeverDrawn(160, 1000);
  lastNeverDrawn.back() = 0;
  EXPECT_LT(UniformChiSquare(lastNeverDrawn).pValue, kFalseFailureOdds);
}

}  // namespace
}  // namespace tolvane::testing
