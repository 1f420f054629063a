#include "generator/character_table.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tolvane {
namespace {

// The codes are the classes' characters in order, so each class's alphabet pins its codes.
TEST(CodeTable, DigitsAndLatinLettersAreCompleteRangesInCodeOrder) {
  for (const auto& [first, last, classIndex] :
       {std::tuple{U'0', U'9', 0}, std::tuple{U'A', U'Z', 1}, std::tuple{U'a', U'z', 2}}) {
    std::u32string expected;
    for (char32_t c = first; c <= last; ++c) expected.push_back(c);
    EXPECT_EQ(kClassCharacters[classIndex], expected);
  }
  EXPECT_EQ(kCharacterCodeTable[100].character, U'Ё');  // after Е, as the Russian tests say
  EXPECT_EQ(kCharacterCodeTable[100].characterClass, CharacterClass::RusUpper);
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
