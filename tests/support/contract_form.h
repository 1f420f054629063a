#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "runtime/control_layout.h"
#include "runtime/form.h"

namespace tolvane::testing {

// A small form with one control of each kind, for testing a runtime against the contract.
namespace contract {

enum : std::size_t { kTimer, kFrame, kBoxA, kBoxB, kList, kText, kLabel, kInner, kBoxC, kCount };

inline constexpr runtime::Color kLabelColor = runtime::Rgb(0, 0, 160);

using runtime::ControlKind;

inline constexpr std::array<runtime::ControlLayout, kCount> kControls{{
    {.name = "tmr", .kind = ControlKind::Timer, .intervalMs = 60},
    {.name = "fr", .kind = ControlKind::Frame, .caption = "Frame", .bounds = {90, 90, 3000, 3000}},
    {.name = "boxA",
     .kind = ControlKind::CheckBox,
     .container = kFrame,
     .caption = "A",
     .bounds = {90, 270, 1500, 225},
     .tabIndex = 2},
    {.name = "boxB",
     .kind = ControlKind::CheckBox,
     .container = kFrame,
     .caption = "B",
     .bounds = {90, 540, 1500, 225},
     .tabIndex = 1,
     .value = 1},
    {.name = "list",
     .kind = ControlKind::ComboBox,
     .container = kFrame,
     .bounds = {90, 900, 900, 330},
     .tabIndex = 3},
    {.name = "text", .kind = ControlKind::TextBox, .bounds = {90, 3300, 3000, 255}, .tabIndex = 4},
    {.name = "label",
     .kind = ControlKind::Label,
     .container = kFrame,
     .caption = "a&b<i>c</i>",
     .bounds = {90, 1500, 1500, 285},
     .tabIndex = 0,
     .foreColor = kLabelColor},
    // A frame in a frame: its box stands at (90 + 1695 + 90, 90 + 195 + 270) in the client.
    {.name = "inner",
     .kind = ControlKind::Frame,
     .container = kFrame,
     .caption = "Inner",
     .bounds = {1695, 195, 1200, 1000}},
    {.name = "boxC",
     .kind = ControlKind::CheckBox,
     .container = kInner,
     .caption = "C",
     .bounds = {90, 270, 1000, 225},
     .tabIndex = 5},
}};

inline constexpr runtime::FormLayout kForm{.name = "frmTest",
                                           .title = "Test",
                                           .clientWidth = 4500,
                                           .clientHeight = 4500,
                                           .fontName = "Calibri",
                                           .fontPoints = 9,
                                           .controls = kControls};

}  // namespace contract

// Records every event in order, with the end of each click, so that nesting shows; a test
// may hook a reaction to a click or a tick.
class Recorder final : public runtime::FormEvents {
 public:
  void Load() override { log.push_back("Load"); }
  void Unload() override { log.push_back("Unload"); }
  void Click(std::size_t slot) override {
    log.push_back("Click " + std::to_string(slot));
    if (onClick) onClick(slot);
    log.push_back("end Click " + std::to_string(slot));
  }
  void KeyDown(std::size_t slot, std::int16_t key, std::int16_t shift) override {
    log.push_back("KeyDown " + std::to_string(slot) + " " + std::to_string(key) + " " +
                  std::to_string(shift));
  }
  void TimerTick(std::size_t slot) override {
    log.push_back("Timer " + std::to_string(slot));
    if (onTimer) onTimer();
  }

  std::vector<std::string> log;
  std::function<void(std::size_t)> onClick;
  std::function<void()> onTimer;
};

}  // namespace tolvane::testing
