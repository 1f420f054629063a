#include "chi_square.h"

#include <cmath>
#include <numeric>
#include <stdexcept>

namespace tolvane::testing {
namespace {

// Series for the lower regularised gamma P(a, x), good for x < a + 1.
double LowerSeries(double a, double x) {
  double term = 1.0 / a;
  double sum = term;
  for (int n = 1; n < 100000; ++n) {
    term *= x / (a + n);
    sum += term;
    if (std::fabs(term) < std::fabs(sum) * 1e-15) break;
  }
  return sum * std::exp(-x + a * std::log(x) - std::lgamma(a));
}

// Continued fraction (modified Lentz) for the upper regularised gamma Q(a, x), x >= a + 1.
double UpperFraction(double a, double x) {
  constexpr double tiny = 1e-300;
  double b = x + 1.0 - a;
  double c = 1.0 / tiny;
  double d = 1.0 / b;
  double h = d;
  for (int i = 1; i < 100000; ++i) {
    const double an = -i * (i - a);
    b += 2.0;
    d = an * d + b;
    if (std::fabs(d) < tiny) d = tiny;
    c = b + an / c;
    if (std::fabs(c) < tiny) c = tiny;
    d = 1.0 / d;
    const double delta = d * c;
    h *= delta;
    if (std::fabs(delta - 1.0) < 1e-15) break;
  }
  return std::exp(-x + a * std::log(x) - std::lgamma(a)) * h;
}

}  // namespace

double ChiSquareTail(double x, double degrees) {
  if (degrees <= 0) throw std::invalid_argument("degrees of freedom must be positive");
  if (x <= 0) return 1.0;
  const double a = degrees / 2.0;
  const double half = x / 2.0;
  return half < a + 1.0 ? 1.0 - LowerSeries(a, half) : UpperFraction(a, half);
}

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
  result.pValue = ChiSquareTail(result.statistic, result.degrees);
  return result;
}

}  // namespace tolvane::testing
