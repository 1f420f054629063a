#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "generator/random_source.h"

namespace tolvane {

inline constexpr int kMinLength = 1;
inline constexpr int kMaxLength = 50;

// One flag per character class, in table order; each 0 (off) or 1 (on).
using OptionFlags = std::array<std::int16_t, 6>;

// One password: a length drawn uniformly between the two bounds (in either order; no draw
// when they are equal), then codes 0..159 drawn uniformly, keeping those whose class is on,
// until the length is reached. With every class off: the empty string, and nothing drawn.
// Bounds outside 1..50 are clamped into it.
std::u32string GeneratePassword(const OptionFlags& flags, int boundA, int boundB,
                                RandomSource& random);

// UTF-8 form of a password, as the text boxes take it.
std::string ToUtf8(std::u32string_view text);

}  // namespace tolvane
