#include "chi_square.h"

#include <gtest/gtest.h>

namespace tolvane::testing {
namespace {

// Reference values: for even degrees of freedom the tail has the closed form
// exp(-x/2) * sum over i < df/2 of (x/2)^i / i!, evaluated to high precision elsewhere.
TEST(ChiSquareTail, MatchesTabulatedValues) {
  struct Case {
    double x, df, p;
  };
  for (const Case& c :
       {Case{3.0, 4, 0.5578254003710745}, Case{23.20925115, 10, 0.0100000000309},
        Case{9.34181776, 10, 0.5000000005192531}, Case{4, 2, 0.1353352832366127},
        Case{200.0, 160, 0.01745132251627543}, Case{260.0, 160, 9.684013718193895e-07},
        Case{120.0, 160, 0.9921820818609547}}) {
    EXPECT_NEAR(ChiSquareTail(c.x, c.df) / c.p, 1.0, 1e-9) << c.x << " on " << c.df;
  }
}

TEST(UniformChiSquare, FlagsAMissingCellAndPassesAnEvenOne) {
  std::vector<std::uint64_t> even(160, 1000);
  EXPECT_EQ(UniformChiSquare(even).pValue, 1.0);
  std::vector<std::uint64_t> lastNeverDrawn(160, 1000);
  lastNeverDrawn.back() = 0;
  EXPECT_LT(UniformChiSquare(lastNeverDrawn).pValue, kFalseFailureOdds);
}

}  // namespace
}  // namespace tolvane::testing
