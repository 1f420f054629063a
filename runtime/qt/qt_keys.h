#pragma once

#include <QKeyEvent>
#include <cstdint>
#include <optional>

namespace tolvane::runtime {

// Qt key -> the virtual key code KeyDown reports; nothing for keys without one.
std::optional<std::int16_t> VirtualKeyCode(int qtKey);
std::int16_t ShiftState(Qt::KeyboardModifiers modifiers);

}  // namespace tolvane::runtime
