#include "runtime/win32/win32_brushes.h"

namespace tolvane::runtime {

COLORREF ToColorRef(Color color) {
  return RGB(RedOf(color), GreenOf(color), BlueOf(color));
}

HBRUSH Brushes::Of(Color color) {
  auto [it, added] = brushes_.try_emplace(color, nullptr);
  if (added) it->second = CreateSolidBrush(ToColorRef(color));
  return it->second;
}

void Brushes::Clear() {
  for (auto& [color, brush] : brushes_) DeleteObject(brush);
  brushes_.clear();
}

}  // namespace tolvane::runtime
