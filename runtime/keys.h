#pragma once

#include <cstdint>

namespace tolvane::runtime {

// Virtual key codes as KeyDown reports them.
inline constexpr std::int16_t kKeyEscape = 27;
inline constexpr std::int16_t kKeyF2 = 113;
inline constexpr std::int16_t kKeyF5 = 116;

// Shift state bits.
inline constexpr std::int16_t kShiftMask = 1;
inline constexpr std::int16_t kCtrlMask = 2;
inline constexpr std::int16_t kAltMask = 4;

}  // namespace tolvane::runtime
