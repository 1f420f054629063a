#include "generator/password_rule.h"

#include <algorithm>

#include "generator/character_table.h"

namespace tolvane {

std::u32string GeneratePassword(const OptionFlags& flags, int boundA, int boundB,
                                RandomSource& random) {
  if (std::all_of(flags.begin(), flags.end(), [](std::int16_t f) { return f == 0; })) return {};

  const int a = std::clamp(boundA, kMinLength, kMaxLength);
  const int b = std::clamp(boundB, kMinLength, kMaxLength);
  const int shorter = std::min(a, b);
  const int longer = std::max(a, b);
  const int length = shorter == longer
                         ? shorter
                         : shorter + static_cast<int>(UniformBelow(random, longer - shorter + 1));

  std::u32string password;
  password.reserve(length);
  while (static_cast<int>(password.size()) < length) {
    const CodeEntry& entry = kCharacterCodeTable[UniformBelow(random, kCodeCount)];
    // Any non-zero flag counts as on, so the loop ends whenever the first test let us in.
    if (flags[static_cast<std::size_t>(entry.characterClass)] != 0) {
      password.push_back(entry.character);
    }
  }
  return password;
}

std::string ToUtf8(std::u32string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (char32_t c : text) {
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

}  // namespace tolvane
