#pragma once

#include <windows.h>

#include "runtime/color.h"

namespace tolvane::runtime {

// What a control is drawn in: its designed colours, unless the user has turned high contrast
// on, when the form takes the system's colours, those chosen in order to see: its surfaces
// and fields, and their texts; a text designed in any colour but black (the note, a warning
// caption) in the hyperlink colour, which every high-contrast scheme sets apart from text.
struct DrawnColors {
  Color back;
  Color fore;
};
DrawnColors ColorsOf(Color back, Color fore, bool field, bool highContrast);

// Whether the user has high contrast on (SPI_GETHIGHCONTRAST).
bool HighContrastOn();

}  // namespace tolvane::runtime
