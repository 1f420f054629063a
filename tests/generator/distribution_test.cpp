// Chi-square checks of the password rule's uniformity. Each runs twice: with a fixed-seed
// source (an exact, repeatable result) and with the system's cryptographic source. Every
// threshold is a p-value of one in a million (kFalseFailureOdds): a correct generator fails a
// given check with the system source at most once in a million runs.

#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "chi_square.h"
#include "generator/character_table.h"
#include "generator/password_rule.h"
#include "runtime/linux/system_random_source.h"
#include "test_random.h"

namespace tolvane {
namespace {

using testing::kFalseFailureOdds;
using testing::UniformChiSquare;

enum class Source { Seeded, System };

std::unique_ptr<RandomSource> MakeSource(Source source) {
  if (source == Source::Seeded) return std::make_unique<testing::SeededSource>(20261207);
  return std::make_unique<runtime::SystemRandomSource>();
}

struct CharacterCase {
  const char* name;
  OptionFlags flags;
};

class CharacterDistribution
    : public ::testing::TestWithParam<std::tuple<CharacterCase, Source>> {};

// 200,000 characters per case: at least 1,250 expected per character with all 160 on.
TEST_P(CharacterDistribution, EveryEnabledCharacterIsEquallyLikely) {
  const auto& [c, sourceKind] = GetParam();
  auto random = MakeSource(sourceKind);
  std::map<char32_t, std::uint64_t> counts;
  for (std::size_t code = 0; code < kCodeCount; ++code) {
    const CodeEntry& entry = kCharacterCodeTable[code];
    if (c.flags[static_cast<std::size_t>(entry.characterClass)]) counts[entry.character] = 0;
  }
  for (int i = 0; i < 4000; ++i) {
    for (char32_t ch : GeneratePassword(c.flags, 50, 50, *random)) ++counts.at(ch);
  }
  std::vector<std::uint64_t> cells;
  for (const auto& [ch, n] : counts) cells.push_back(n);
  const auto result = UniformChiSquare(cells);
  EXPECT_GT(result.pValue, kFalseFailureOdds)
      << c.name << ": chi2 " << result.statistic << " on " << result.degrees << " df";
}

INSTANTIATE_TEST_SUITE_P(
    Classes, CharacterDistribution,
    ::testing::Combine(
        ::testing::Values(CharacterCase{"all six", {1, 1, 1, 1, 1, 1}},
                          CharacterCase{"defaults", {1, 1, 1, 1, 0, 0}},
                          CharacterCase{"digits", {1, 0, 0, 0, 0, 0}},
                          CharacterCase{"special", {0, 0, 0, 1, 0, 0}},
                          CharacterCase{"cyrillic lower", {0, 0, 0, 0, 0, 1}},
                          CharacterCase{"upper pair", {0, 1, 0, 0, 1, 0}}),
        ::testing::Values(Source::Seeded, Source::System)));

struct LengthCase {
  int a;
  int b;
};

class LengthDistribution : public ::testing::TestWithParam<std::tuple<LengthCase, Source>> {};

// 100,000 passwords per case: 2,000 or more expected per length.
TEST_P(LengthDistribution, EveryLengthIsEquallyLikely) {
  const auto& [c, sourceKind] = GetParam();
  auto random = MakeSource(sourceKind);
  const int shortest = std::min(c.a, c.b);
  std::vector<std::uint64_t> cells(std::max(c.a, c.b) - shortest + 1);
  for (int i = 0; i < 100000; ++i) {
    ++cells.at(GeneratePassword({1, 1, 1, 1, 1, 1}, c.a, c.b, *random).size() - shortest);
  }
  const auto result = UniformChiSquare(cells);
  EXPECT_GT(result.pValue, kFalseFailureOdds)
      << c.a << ".." << c.b << ": chi2 " << result.statistic << " on " << result.degrees << " df";
}

INSTANTIATE_TEST_SUITE_P(Bounds, LengthDistribution,
                         ::testing::Combine(::testing::Values(LengthCase{8, 12}, LengthCase{12, 8},
                                                              LengthCase{1, 50}, LengthCase{50, 1},
                                                              LengthCase{49, 50}),
                                            ::testing::Values(Source::Seeded, Source::System)));

}  // namespace
}  // namespace tolvane
