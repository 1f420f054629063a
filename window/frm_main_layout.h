#pragma once

#include <cstddef>

#include "runtime/color.h"
#include "runtime/control_layout.h"

namespace tolvane::window {

// Slots of frmMain's controls: their positions in the layout table, in creation order. Every
// switch on a Slot names each one and has no default, so a control added here and forgotten
// in a switch fails to build.
namespace ctl {
enum Slot : std::size_t {
  tmrSelect,
  chF,
  chE,
  frResults,
  txtResults10,  // the result boxes are created bottom box first
  txtResults1 = txtResults10 + 9,
  frOptions,
  cmbSizeB,
  chA,
  chB,
  chC,
  chD,
  cmbSizeA,
  lblF,
  lblE,
  lblA,
  lblB,
  lblC,
  lblD,
  lblSize,
  lblInfo,
  count,
};

inline constexpr int kResultCount = 10;

// Slot of txtResults(index), index 1 (top) to 10 (bottom).
constexpr std::size_t txtResults(int index) {
  return txtResults1 - (index - 1);
}
constexpr bool IsResultBox(std::size_t slot) {
  return slot >= txtResults10 && slot <= txtResults1;
}
constexpr int ResultIndex(std::size_t slot) {
  return static_cast<int>(txtResults1 - slot) + 1;
}
}  // namespace ctl

inline constexpr runtime::Color kWarnColor = runtime::Rgb(192, 0, 0);
inline constexpr runtime::Color kPanelGrey = runtime::Rgb(192, 192, 192);
inline constexpr runtime::Color kFieldGrey = runtime::Rgb(224, 224, 224);
inline constexpr int kTimerIntervalMs = 5000;

const runtime::FormLayout& FrmMainLayout();

}  // namespace tolvane::window
