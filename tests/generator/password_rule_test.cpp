#include "generator/password_rule.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <vector>

#include "generator/character_table.h"
#include "test_random.h"

namespace tolvane {
namespace {

using testing::CountingSource;
using testing::ScriptedSource;
using testing::SeededSource;

constexpr OptionFlags kAllOff{0, 0, 0, 0, 0, 0};
constexpr OptionFlags kAllOn{1, 1, 1, 1, 1, 1};
constexpr OptionFlags kDefaults{1, 1, 1, 1, 0, 0};

OptionFlags FlagsOf(unsigned mask) {
  OptionFlags flags{};
  for (std::size_t i = 0; i < flags.size(); ++i) flags[i] = (mask >> i) & 1u;
  return flags;
}

std::set<char32_t> EnabledCharacters(const OptionFlags& flags) {
  std::set<char32_t> chars;
  for (std::size_t c = 0; c < kClassCount; ++c) {
    if (flags[c]) chars.insert(kClassCharacters[c].begin(), kClassCharacters[c].end());
  }
  return chars;
}

// A 16-bit draw is read high byte first: for 160 codes (65536 = 409 * 160 + 96) 0xFFA0 is
// drawn again and 0xFF9F maps to 159; read low byte first, the first draw would be kept.
// Every other draw of every small range: KeptDrawsHitEveryOutcomeEquallyOften.
TEST(UniformBelow, ADrawIsReadHighByteFirst) {
  ScriptedSource script{0xFF, 0xA0, 0xFF, 0x9F};
  EXPECT_EQ(UniformBelow(script, 160), 159u);
  EXPECT_EQ(script.Left(), 0u);
}

TEST(UniformBelow, LargeRangesTakeBigEndianWordsAndRejectBelowTwoToTheThirtyTwoModN) {
  // n = 2^31 + 1: 2^32 mod n = 2^31 - 1, so 0x7FFFFFFE is rejected and 0x7FFFFFFF accepted.
  ScriptedSource script{0x7F, 0xFF, 0xFF, 0xFE, 0x7F, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(UniformBelow(script, 2147483649u), 0x7FFFFFFFu);
  EXPECT_EQ(script.Left(), 0u);
}

// Hands out one chosen 16-bit draw, high byte first, then a draw of 0, which every range keeps.
struct OneDrawThenZero final : RandomSource {
  explicit OneDrawThenZero(std::uint32_t value)
      : bytes{static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value), 0, 0} {}
  std::uint8_t NextByte() override { return bytes.at(taken++); }
  std::array<std::uint8_t, 4> bytes;
  std::size_t taken = 0;
};

// Every one of the 65536 draws is either kept or drawn again, and the kept ones hit every
// outcome equally often: exact uniformity, for every length range and the 160-code table.
TEST(UniformBelow, KeptDrawsHitEveryOutcomeEquallyOften) {
  std::vector<std::uint32_t> sizes;
  for (std::uint32_t n = 1; n <= 160; ++n) sizes.push_back(n);
  for (std::uint32_t n : {1000u, 40000u, 65535u, 65536u}) sizes.push_back(n);
  for (std::uint32_t n : sizes) {
    std::vector<std::uint32_t> hits(n);
    std::uint32_t redrawn = 0;
    for (std::uint32_t value = 0; value < 65536; ++value) {
      OneDrawThenZero source(value);
      const std::uint32_t outcome = UniformBelow(source, n);
      ASSERT_LT(outcome, n);
      if (n == 1) {
        ASSERT_EQ(source.taken, 0u);  // one outcome: nothing to draw
      } else if (source.taken == 4) {
        ++redrawn;
      } else {
        ASSERT_EQ(source.taken, 2u);
        ++hits[outcome];
      }
    }
    if (n == 1) continue;
    EXPECT_EQ(redrawn, 65536 % n) << n;
    for (std::uint32_t k = 0; k < n; ++k) ASSERT_EQ(hits[k], 65536 / n) << n << " " << k;
  }
}

TEST(GeneratePassword, AllClassesOffGivesEmptyStringAndDrawsNothing) {
  SeededSource seeded(1);
  CountingSource counter(seeded);
  EXPECT_EQ(GeneratePassword(kAllOff, 8, 12, counter), U"");
  EXPECT_EQ(counter.count, 0u);
}

TEST(GeneratePassword, ScriptedDrawsGiveTheExactPassword) {
  // Length 8 + 1 of the range 8..12, then codes: 10 'A' (class off: discarded), 0 '0',
  // 100 'Ё', 133 'ё', 93 '~', 62 '!', 63 '"', 159 'я', 127 'а', 9 '9'.
  const OptionFlags flags{1, 0, 1, 1, 1, 1};
  auto script = ScriptedSource::OfDraws({1, 10, 0, 100, 133, 93, 62, 63, 159, 127, 9});
  EXPECT_EQ(GeneratePassword(flags, 8, 12, script), U"0Ёё~!\"яа9");
  EXPECT_EQ(script.Left(), 0u);
}

TEST(GeneratePassword, EqualBoundsDrawNoLength) {
  // Bounds 3 and 3: the first three words are characters, not a length.
  auto script = ScriptedSource::OfDraws({36, 0, 61});
  EXPECT_EQ(GeneratePassword(kAllOn, 3, 3, script), U"a0z");
  EXPECT_EQ(script.Left(), 0u);
}

TEST(GeneratePassword, ReversedBoundsDrawTheSameLengthAsOrderedOnes) {
  for (std::uint16_t offset = 0; offset <= 4; ++offset) {
    auto ordered = ScriptedSource::OfDraws({offset});
    auto reversed = ScriptedSource::OfDraws({offset});
    for (int i = 0; i < 12; ++i) {
      ordered.PushDraw(5);
      reversed.PushDraw(5);
    }
    EXPECT_EQ(GeneratePassword(kAllOn, 8, 12, ordered).size(), 8 + offset);
    EXPECT_EQ(GeneratePassword(kAllOn, 12, 8, reversed).size(), 8 + offset);
  }
}

struct BoundsCase {
  int a;
  int b;
  int shortest;
  int longest;
};

class BoundsTest : public ::testing::TestWithParam<BoundsCase> {};

TEST_P(BoundsTest, EveryLengthInTheClosedRangeOccursAndNoOther) {
  const BoundsCase& c = GetParam();
  SeededSource random(42);
  std::set<std::size_t> lengths;
  for (int i = 0; i < 3000; ++i)
    lengths.insert(GeneratePassword(kDefaults, c.a, c.b, random).size());
  std::set<std::size_t> expected;
  for (int n = c.shortest; n <= c.longest; ++n) expected.insert(n);
  EXPECT_EQ(lengths, expected);
}

// Ranges in between, either way round, are LengthDistribution's: each length equally likely.
INSTANTIATE_TEST_SUITE_P(Bounds, BoundsTest,
                         ::testing::Values(BoundsCase{50, 50, 50, 50}, BoundsCase{1, 1, 1, 1},
                                           BoundsCase{0, 51, 1, 50}, BoundsCase{-7, -7, 1, 1}));

class ClassMaskTest : public ::testing::TestWithParam<unsigned> {};

// Every non-empty combination of classes: only enabled characters appear, and every one
// of them does.
TEST_P(ClassMaskTest, UsesExactlyTheEnabledCharacters) {
  const OptionFlags flags = FlagsOf(GetParam());
  SeededSource random(GetParam());
  std::set<char32_t> seen;
  for (int i = 0; i < 400; ++i) {
    const std::u32string password = GeneratePassword(flags, 50, 50, random);
    ASSERT_EQ(password.size(), 50u);
    seen.insert(password.begin(), password.end());
  }
  EXPECT_EQ(seen, EnabledCharacters(flags));
}

INSTANTIATE_TEST_SUITE_P(AllCombinations, ClassMaskTest, ::testing::Range(1u, 64u));

// Each length of encoding, at both ends of its range.
TEST(ToUtf8, EncodesOneToFourBytesAtTheirBoundaries) {
  EXPECT_EQ(ToUtf8(U"\u0001\u007F"), "\x01\x7F");
  EXPECT_EQ(ToUtf8(U"\u0080\u07FF"), "\xC2\x80\xDF\xBF");
  EXPECT_EQ(ToUtf8(U"\u0800\uFFFF"), "\xE0\xA0\x80\xEF\xBF\xBF");
  EXPECT_EQ(ToUtf8(U"\U00010000\U0010FFFF"), "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF");
  EXPECT_EQ(ToUtf8(U"!Ёё~"), "!\xD0\x81\xD1\x91~");
}

}  // namespace
}  // namespace tolvane
