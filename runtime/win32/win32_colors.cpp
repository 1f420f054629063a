#include "runtime/win32/win32_colors.h"

namespace tolvane::runtime {
namespace {

Color SystemColor(int index) {
  const COLORREF c = GetSysColor(index);
  return Rgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

}  // namespace

DrawnColors ColorsOf(Color back, Color fore, bool field, bool highContrast) {
  if (!highContrast) return {back, fore};
  return {SystemColor(field ? COLOR_WINDOW : COLOR_BTNFACE),
          SystemColor(fore != kBlack ? COLOR_HOTLIGHT
                      : field        ? COLOR_WINDOWTEXT
                                     : COLOR_BTNTEXT)};
}

bool HighContrastOn() {
  HIGHCONTRASTW setting{};
  setting.cbSize = sizeof setting;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof setting, &setting, 0) &&
         (setting.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

}  // namespace tolvane::runtime
