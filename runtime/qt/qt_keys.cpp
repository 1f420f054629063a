#include "runtime/qt/qt_keys.h"

#include "runtime/keys.h"

namespace tolvane::runtime {

std::optional<std::int16_t> VirtualKeyCode(int qtKey) {
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
    return static_cast<std::int16_t>(kKeyF1 + (qtKey - Qt::Key_F1));
  }
  if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)) {
    return static_cast<std::int16_t>(qtKey);  // Qt and virtual codes agree here
  }
  switch (qtKey) {
    case Qt::Key_Escape:
      return kKeyEscape;
    case Qt::Key_Backspace:
      return kKeyBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return kKeyTab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return kKeyReturn;
    case Qt::Key_Shift:
      return kKeyShift;
    case Qt::Key_Control:
      return kKeyControl;
    case Qt::Key_Alt:
      return kKeyMenu;
    case Qt::Key_Space:
      return kKeySpace;
    case Qt::Key_PageUp:
      return kKeyPageUp;
    case Qt::Key_PageDown:
      return kKeyPageDown;
    case Qt::Key_End:
      return kKeyEnd;
    case Qt::Key_Home:
      return kKeyHome;
    case Qt::Key_Left:
      return kKeyLeft;
    case Qt::Key_Up:
      return kKeyUp;
    case Qt::Key_Right:
      return kKeyRight;
    case Qt::Key_Down:
      return kKeyDown;
    case Qt::Key_Insert:
      return kKeyInsert;
    case Qt::Key_Delete:
      return kKeyDelete;
    default:
      return std::nullopt;
  }
}

std::int16_t ShiftState(Qt::KeyboardModifiers modifiers) {
  std::int16_t state = 0;
  if (modifiers & Qt::ShiftModifier) state |= kShiftMask;
  if (modifiers & Qt::ControlModifier) state |= kCtrlMask;
  if (modifiers & Qt::AltModifier) state |= kAltMask;
  return state;
}

}  // namespace tolvane::runtime
