#pragma once

#include <windows.h>

#include <map>

#include "runtime/color.h"

namespace tolvane::runtime {

COLORREF ToColorRef(Color color);

// Solid brushes, one per colour, made when first asked for and deleted with the cache.
class Brushes {
 public:
  Brushes() = default;
  ~Brushes() { Clear(); }
  Brushes(const Brushes&) = delete;
  Brushes& operator=(const Brushes&) = delete;

  HBRUSH Of(Color color);
  void Clear();

 private:
  std::map<Color, HBRUSH> brushes_;
};

}  // namespace tolvane::runtime
