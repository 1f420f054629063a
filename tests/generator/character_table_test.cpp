#include "generator/character_table.h"

#include <gtest/gtest.h>

#include <set>

namespace tolvane {
namespace {

struct CodeCase {
  std::size_t code;
  char32_t character;
  CharacterClass characterClass;
};

class CodeTableTest : public ::testing::TestWithParam<CodeCase> {};

TEST_P(CodeTableTest, CodeMapsToCharacterAndClass) {
  const CodeCase& c = GetParam();
  EXPECT_EQ(kCharacterCodeTable[c.code].character, c.character) << "code " << c.code;
  EXPECT_EQ(kCharacterCodeTable[c.code].characterClass, c.characterClass) << "code " << c.code;
}

using CC = CharacterClass;
INSTANTIATE_TEST_SUITE_P(
    RangeEdgesAndYo, CodeTableTest,
    ::testing::Values(CodeCase{0, U'0', CC::Digits}, CodeCase{9, U'9', CC::Digits},
                      CodeCase{10, U'A', CC::EngUpper}, CodeCase{35, U'Z', CC::EngUpper},
                      CodeCase{36, U'a', CC::EngLower}, CodeCase{61, U'z', CC::EngLower},
                      CodeCase{62, U'!', CC::Special}, CodeCase{63, U'"', CC::Special},
                      CodeCase{93, U'~', CC::Special}, CodeCase{94, U'А', CC::RusUpper},
                      CodeCase{99, U'Е', CC::RusUpper}, CodeCase{100, U'Ё', CC::RusUpper},
                      CodeCase{101, U'Ж', CC::RusUpper}, CodeCase{126, U'Я', CC::RusUpper},
                      CodeCase{127, U'а', CC::RusLower}, CodeCase{132, U'е', CC::RusLower},
                      CodeCase{133, U'ё', CC::RusLower}, CodeCase{134, U'ж', CC::RusLower},
                      CodeCase{159, U'я', CC::RusLower}));

TEST(CodeTable, HoldsOneHundredSixtyDistinctCharacters) {
  std::set<char32_t> seen;
  for (const CodeEntry& entry : kCharacterCodeTable) seen.insert(entry.character);
  EXPECT_EQ(seen.size(), kCodeCount);
}

TEST(CodeTable, SpecialCharactersAreAsciiPunctuationInCodeOrder) {
  std::u32string expected;
  for (char32_t c = 0x21; c <= 0x7E; ++c) {
    const bool alnum =
        (c >= U'0' && c <= U'9') || (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z');
    if (!alnum) expected.push_back(c);
  }
  EXPECT_EQ(expected.size(), 32u);
  EXPECT_EQ(kClassCharacters[3], expected);
}

TEST(CodeTable, RussianAlphabetsAreCompleteWithYoAfterYe) {
  for (const auto& [upperFirst, classIndex] : {std::pair{U'А', 4}, std::pair{U'а', 5}}) {
    std::u32string expected;
    for (char32_t c = upperFirst; c < upperFirst + 32; ++c) {
      expected.push_back(c);
      if (c == upperFirst + 5) expected.push_back(upperFirst == U'А' ? U'Ё' : U'ё');
    }
    EXPECT_EQ(kClassCharacters[classIndex], expected);
  }
}

}  // namespace
}  // namespace tolvane
