#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace tolvane {

// The six character classes, in the order of the code table.
enum class CharacterClass : std::size_t {
  Digits,
  EngUpper,
  EngLower,
  Special,
  RusUpper,
  RusLower,
};
inline constexpr std::size_t kClassCount = 6;

// Each class's characters in code order. The Russian alphabets keep their alphabet order,
// so Ё/ё stand after Е/е, not where their code points would put them.
inline constexpr std::array<std::u32string_view, kClassCount> kClassCharacters{
    U"0123456789",
    U"ABCDEFGHIJKLMNOPQRSTUVWXYZ",
    U"abcdefghijklmnopqrstuvwxyz",
    U"!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~",
    U"АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ",
    U"абвгдеёжзийклмнопрстуфхцчшщъыьэюя",
};

inline constexpr std::size_t kCodeCount = 160;

struct CodeEntry {
  char32_t character;
  CharacterClass characterClass;
};

// Code 0..159 -> character and class: the classes' sequences laid end to end.
inline constexpr std::array<CodeEntry, kCodeCount> kCharacterCodeTable = [] {
  std::array<CodeEntry, kCodeCount> table{};
  std::size_t code = 0;
  for (std::size_t c = 0; c < kClassCount; ++c) {
    for (char32_t ch : kClassCharacters[c]) {
      table[code++] = {ch, static_cast<CharacterClass>(c)};
    }
  }
  if (code != kCodeCount) throw "the classes must fill the table exactly";
  return table;
}();

}  // namespace tolvane
