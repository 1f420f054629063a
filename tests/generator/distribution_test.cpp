// Chi-square checks of the password rule's uniformity: over characters, lengths, positions and
// neighbouring pairs, each with a fixed-seed source (an exact, repeatable result). One check,
// all six classes' characters, also runs on the system's cryptographic source: a correct
// generator fails it at most once in a million runs (kFalseFailureOdds); the thresholds of the
// others are set the same way, split evenly where one test makes several checks.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "chi_square.h"
#include "generator/character_table.h"
#include "generator/password_rule.h"
#include "runtime/system/system_random_source.h"
#include "test_random.h"

namespace tolvane {
namespace {

using testing::kFalseFailureOdds;
using testing::UniformChiSquare;

struct CharacterCase {
  const char* name;
  OptionFlags flags;
};

// Fails, with the statistic, where counts this uneven come from a uniform draw less often than
// the odds say.
void ExpectUniform(const std::vector<std::uint64_t>& cells, const std::string& what,
                   double odds = kFalseFailureOdds) {
  const auto result = UniformChiSquare(cells);
  EXPECT_GT(result.pValue, odds) << what << ": chi2 " << result.statistic << " on "
                                 << result.degrees << " df";
}

// 200,000 characters: at least 1,250 expected per character with all 160 on.
std::vector<std::uint64_t> CharacterCounts(const OptionFlags& flags, RandomSource& random) {
  std::map<char32_t, std::uint64_t> counts;
  for (std::size_t code = 0; code < kCodeCount; ++code) {
    const CodeEntry& entry = kCharacterCodeTable[code];
    if (flags[static_cast<std::size_t>(entry.characterClass)]) counts[entry.character] = 0;
  }
  for (int i = 0; i < 4000; ++i) {
    for (char32_t ch : GeneratePassword(flags, 50, 50, random)) ++counts.at(ch);
  }
  std::vector<std::uint64_t> cells;
  for (const auto& [ch, n] : counts) cells.push_back(n);
  return cells;
}

class CharacterDistribution : public ::testing::TestWithParam<CharacterCase> {};

TEST_P(CharacterDistribution, EveryEnabledCharacterIsEquallyLikely) {
  testing::SeededSource random(20261207);
  ExpectUniform(CharacterCounts(GetParam().flags, random), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Classes, CharacterDistribution,
                         ::testing::Values(CharacterCase{"all_six", {1, 1, 1, 1, 1, 1}},
                                           CharacterCase{"defaults", {1, 1, 1, 1, 0, 0}},
                                           CharacterCase{"digits", {1, 0, 0, 0, 0, 0}},
                                           CharacterCase{"special", {0, 0, 0, 1, 0, 0}},
                                           CharacterCase{"cyrillic_lower", {0, 0, 0, 0, 0, 1}},
                                           CharacterCase{"upper_pair", {0, 1, 0, 0, 1, 0}}),
                         [](const auto& info) { return std::string(info.param.name); });

// The system's own source, drawn as the program draws: one run in a million fails by chance.
TEST(SystemSourceDistribution, EveryCharacterIsEquallyLikely) {
  system::SystemRandomSource random;
  ExpectUniform(CharacterCounts({1, 1, 1, 1, 1, 1}, random), "all six");
}

struct LengthCase {
  int a;
  int b;
};

class LengthDistribution : public ::testing::TestWithParam<LengthCase> {};

// 100,000 passwords per case: 2,000 or more expected per length.
TEST_P(LengthDistribution, EveryLengthIsEquallyLikely) {
  const LengthCase& c = GetParam();
  testing::SeededSource random(20261207);
  const int shortest = std::min(c.a, c.b);
  std::vector<std::uint64_t> cells(std::max(c.a, c.b) - shortest + 1);
  for (int i = 0; i < 100000; ++i) {
    ++cells.at(GeneratePassword({1, 1, 1, 1, 1, 1}, c.a, c.b, random).size() - shortest);
  }
  ExpectUniform(cells, std::to_string(c.a) + ".." + std::to_string(c.b));
}

INSTANTIATE_TEST_SUITE_P(Bounds, LengthDistribution,
                         ::testing::Values(LengthCase{8, 12}, LengthCase{12, 8}, LengthCase{1, 50},
                                           LengthCase{50, 1}, LengthCase{49, 50}),
                         [](const auto& info) {
                           return std::to_string(info.param.a) + "_to_" +
                                  std::to_string(info.param.b);
                         });

// Every position of a 50-character password, separately: digits and special characters
// (42 cells), 20,000 passwords, so about 476 expected per cell. Fifty tests share the budget:
// each uses a threshold of one in fifty million, one in a million for all of them together.
TEST(PositionDistribution, EveryPositionIsUniform) {
  testing::SeededSource random(20261207);
  const OptionFlags flags{1, 0, 0, 1, 0, 0};
  std::u32string alphabet =
      std::u32string(kClassCharacters[0]) + std::u32string(kClassCharacters[3]);
  std::vector<std::vector<std::uint64_t>> counts(50, std::vector<std::uint64_t>(alphabet.size()));
  for (int i = 0; i < 20000; ++i) {
    const std::u32string p = GeneratePassword(flags, 50, 50, random);
    for (std::size_t pos = 0; pos < p.size(); ++pos) ++counts[pos][alphabet.find(p[pos])];
  }
  for (std::size_t pos = 0; pos < counts.size(); ++pos) {
    ExpectUniform(counts[pos], "position " + std::to_string(pos), kFalseFailureOdds / 50);
  }
}

struct PairCase {
  const char* name;
  OptionFlags flags;
  int passwords;
};

class PairDistribution : public ::testing::TestWithParam<PairCase> {};

// Neighbouring characters are independent: the 25 disjoint pairs (0,1), (2,3), ... of each
// 50-character password fall evenly on all ordered pairs of the alphabet. Digits: 100 cells,
// about 10,000 expected each; special characters: 1,024 cells, about 980 each.
TEST_P(PairDistribution, AdjacentCharactersAreIndependent) {
  const PairCase& c = GetParam();
  testing::SeededSource random(20261207);
  std::u32string alphabet;
  for (std::size_t k = 0; k < kClassCount; ++k) {
    if (c.flags[k]) alphabet += kClassCharacters[k];
  }
  const std::size_t n = alphabet.size();
  std::vector<std::uint64_t> cells(n * n);
  for (int i = 0; i < c.passwords; ++i) {
    const std::u32string p = GeneratePassword(c.flags, 50, 50, random);
    for (std::size_t pos = 0; pos + 1 < p.size(); pos += 2) {
      ++cells[alphabet.find(p[pos]) * n + alphabet.find(p[pos + 1])];
    }
  }
  ExpectUniform(cells, c.name);
}

INSTANTIATE_TEST_SUITE_P(Alphabets, PairDistribution,
                         ::testing::Values(PairCase{"digits", {1, 0, 0, 0, 0, 0}, 40000},
                                           PairCase{"special", {0, 0, 0, 1, 0, 0}, 40000}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tolvane
