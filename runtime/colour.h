#pragma once

#include <cstdint>

namespace tolvane::runtime {

// A colour as &H00BBGGRR: red in the low byte.
using Colour = std::uint32_t;

constexpr Colour Rgb(unsigned red, unsigned green, unsigned blue) {
  return (blue & 0xFFu) << 16 | (green & 0xFFu) << 8 | (red & 0xFFu);
}
constexpr unsigned RedOf(Colour c) {
  return c & 0xFFu;
}
constexpr unsigned GreenOf(Colour c) {
  return (c >> 8) & 0xFFu;
}
constexpr unsigned BlueOf(Colour c) {
  return (c >> 16) & 0xFFu;
}

inline constexpr Colour kBlack = 0;

}  // namespace tolvane::runtime
