#include <gtest/gtest.h>

#include <set>

#include "generator/character_table.h"
#include "generator/password_rule.h"
#include "test_random.h"

namespace tolvane {
namespace {

using testing::CountingSource;
using testing::ScriptedSource;
using testing::SeededSource;
using testing::WordFor;

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

TEST(UniformBelow, RejectsExactlyTheWordsBelowTwoToTheThirtyTwoModN) {
  // 2^32 mod 160 = 96: word 95 is drawn again, word 96 is the first accepted.
  ScriptedSource script{95, 96};
  EXPECT_EQ(UniformBelow(script, 160), 96u);
  EXPECT_EQ(script.Left(), 0u);

  ScriptedSource top{0xFFFFFFFFu};
  EXPECT_EQ(UniformBelow(top, 160), 95u);  // (2^32 - 1) mod 160
}

TEST(UniformBelow, AcceptedWordsCoverEveryResidueEquallyOften) {
  for (std::uint64_t n : {2ull, 3ull, 5ull, 7ull, 50ull, 160ull, 1000003ull, 2147483649ull}) {
    const std::uint64_t rejected = (std::uint64_t{1} << 32) % n;
    EXPECT_EQ(((std::uint64_t{1} << 32) - rejected) % n, 0u) << n;
  }
  ScriptedSource none{};
  EXPECT_EQ(UniformBelow(none, 1), 0u);  // one outcome: nothing to draw
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
  ScriptedSource script{WordFor(1, 5)};
  for (std::uint32_t code : {10, 0, 100, 133, 93, 62, 63, 159, 127, 9}) {
    script.Push(WordFor(code, 160));
  }
  EXPECT_EQ(GeneratePassword(flags, 8, 12, script), U"0Ёё~!\"яа9");
  EXPECT_EQ(script.Left(), 0u);
}

TEST(GeneratePassword, EqualBoundsDrawNoLength) {
  // Bounds 3 and 3: the first three words are characters, not a length.
  ScriptedSource script{WordFor(36, 160), WordFor(0, 160), WordFor(61, 160)};
  EXPECT_EQ(GeneratePassword(kAllOn, 3, 3, script), U"a0z");
  EXPECT_EQ(script.Left(), 0u);
}

TEST(GeneratePassword, ReversedBoundsDrawTheSameLengthAsOrderedOnes) {
  for (std::uint32_t offset = 0; offset <= 4; ++offset) {
    ScriptedSource ordered{WordFor(offset, 5)};
    ScriptedSource reversed{WordFor(offset, 5)};
    for (int i = 0; i < 12; ++i) {
      ordered.Push(WordFor(5, 160));
      reversed.Push(WordFor(5, 160));
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
  for (int i = 0; i < 3000; ++i) lengths.insert(GeneratePassword(kDefaults, c.a, c.b, random).size());
  std::set<std::size_t> expected;
  for (int n = c.shortest; n <= c.longest; ++n) expected.insert(n);
  EXPECT_EQ(lengths, expected);
}

INSTANTIATE_TEST_SUITE_P(Bounds, BoundsTest,
                         ::testing::Values(BoundsCase{8, 12, 8, 12}, BoundsCase{12, 8, 8, 12},
                                           BoundsCase{50, 50, 50, 50}, BoundsCase{1, 1, 1, 1},
                                           BoundsCase{1, 50, 1, 50}, BoundsCase{50, 1, 1, 50},
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

TEST(GeneratePassword, LatinAndCyrillicLookAlikesAreDifferentCharacters) {
  SeededSource random(7);
  std::set<char32_t> seen;
  for (int i = 0; i < 200; ++i) {
    const std::u32string p = GeneratePassword({0, 1, 0, 0, 1, 0}, 50, 50, random);
    seen.insert(p.begin(), p.end());
  }
  EXPECT_TRUE(seen.count(U'A') && seen.count(U'А'));  // U+0041 and U+0410
  EXPECT_TRUE(seen.count(U'C') && seen.count(U'С'));
}

TEST(ToUtf8, EncodesEveryTableCharacter) {
  EXPECT_EQ(ToUtf8(U"!Az~"), "!Az~");
  EXPECT_EQ(ToUtf8(U"Ёё"), "\xD0\x81\xD1\x91");
  EXPECT_EQ(ToUtf8(U"Яя"), "Яя");
}

}  // namespace
}  // namespace tolvane
