#pragma once

#include <cstdint>

namespace tolvane::runtime {

// A color as &H00BBGGRR: red in the low byte.
using Color = std::uint32_t;

constexpr Color Rgb(unsigned red, unsigned green, unsigned blue) {
  return (blue & 0xFFu) << 16 | (green & 0xFFu) << 8 | (red & 0xFFu);
}
constexpr unsigned RedOf(Color c) {
  return c & 0xFFu;
}
constexpr unsigned GreenOf(Color c) {
  return (c >> 8) & 0xFFu;
}
constexpr unsigned BlueOf(Color c) {
  return (c >> 16) & 0xFFu;
}

inline constexpr Color kBlack = 0;

}  // namespace tolvane::runtime
