#pragma once

#include <cstdint>

namespace tolvane::runtime {

// Virtual key codes as KeyDown reports them. Digits and letters are their ASCII capitals.
inline constexpr std::int16_t kKeyBack = 8;
inline constexpr std::int16_t kKeyTab = 9;
inline constexpr std::int16_t kKeyReturn = 13;
inline constexpr std::int16_t kKeyShift = 16;
inline constexpr std::int16_t kKeyControl = 17;
inline constexpr std::int16_t kKeyMenu = 18;  // Alt
inline constexpr std::int16_t kKeyEscape = 27;
inline constexpr std::int16_t kKeySpace = 32;
inline constexpr std::int16_t kKeyPageUp = 33;
inline constexpr std::int16_t kKeyPageDown = 34;
inline constexpr std::int16_t kKeyEnd = 35;
inline constexpr std::int16_t kKeyHome = 36;
inline constexpr std::int16_t kKeyLeft = 37;
inline constexpr std::int16_t kKeyUp = 38;
inline constexpr std::int16_t kKeyRight = 39;
inline constexpr std::int16_t kKeyDown = 40;
inline constexpr std::int16_t kKeyInsert = 45;
inline constexpr std::int16_t kKeyDelete = 46;
inline constexpr std::int16_t kKeyF1 = 112;  // F1 to F24 follow one another
inline constexpr std::int16_t kKeyF2 = 113;
inline constexpr std::int16_t kKeyF5 = 116;

// Shift state bits.
inline constexpr std::int16_t kShiftMask = 1;
inline constexpr std::int16_t kCtrlMask = 2;
inline constexpr std::int16_t kAltMask = 4;

}  // namespace tolvane::runtime
