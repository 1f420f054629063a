#include <gtest/gtest.h>

#include <algorithm>

#include "fake_window.h"
#include "runtime/keys.h"
#include "test_random.h"
#include "window/frm_main.h"
#include "window/frm_main_layout.h"

namespace tolvane::window {
namespace {

// Every control that takes the focus and so receives keys.
const std::vector<std::size_t> kFocusable = [] {
  std::vector<std::size_t> slots{ctl::chA, ctl::chB, ctl::chC,      ctl::chD,
                                 ctl::chE, ctl::chF, ctl::cmbSizeA, ctl::cmbSizeB};
  for (int i = 1; i <= 10; ++i) slots.push_back(ctl::txtResults(i));
  return slots;
}();

struct Window : FakeWindow {
  Window() : FakeWindow(5) { form.Run(); }
};

TEST(KeyRule, F5AndF2InEveryFocusableControlReplaceAllTenWhateverTheShiftState) {
  Window w;
  for (std::size_t slot : kFocusable) {
    for (auto [key, shift] : {std::pair{runtime::kKeyF5, 0}, std::pair{runtime::kKeyF2, 0},
                              std::pair{runtime::kKeyF5, int{runtime::kShiftMask}},
                              std::pair{runtime::kKeyF2, int{runtime::kCtrlMask}}}) {
      SCOPED_TRACE("slot " + std::to_string(slot) + " key " + std::to_string(key));
      const auto before = w.Results();
      w.runtime.log.clear();
      w.runtime.PressKey(slot, key, static_cast<std::int16_t>(shift));
      EXPECT_EQ(w.TextWrites(), 10);
      const auto after = w.Results();
      for (int i = 0; i < 10; ++i) EXPECT_NE(after[i], before[i]) << "box " << i + 1;
    }
  }
  EXPECT_FALSE(w.runtime.Ended());
}

TEST(KeyRule, EscapeInEveryFocusableControlUnloadsAndEndsOnce) {
  for (std::size_t slot : kFocusable) {
    Window w;
    w.runtime.log.clear();
    w.runtime.PressKey(slot, runtime::kKeyEscape, runtime::kShiftMask);
    EXPECT_TRUE(w.runtime.Ended()) << slot;
    EXPECT_EQ(w.runtime.endCalls, 1) << slot;
    EXPECT_NE(std::find(w.runtime.log.begin(), w.runtime.log.end(), "Unload"), w.runtime.log.end());
    EXPECT_EQ(w.TextWrites(), 0) << slot;
  }
}

TEST(KeyRule, OtherKeysAndControlsThatTakeNoFocusDoNothing) {
  Window w;
  const auto before = w.Results();
  for (std::size_t slot : std::vector<std::size_t>{ctl::chA, ctl::cmbSizeB, ctl::txtResults(3)}) {
    for (int key : {112, 114, 115, 117, 13, 32, 0, 26, 28, 82}) {
      w.runtime.PressKey(slot, static_cast<std::int16_t>(key), runtime::kCtrlMask);
    }
  }
  for (std::size_t slot : {ctl::lblA, ctl::frOptions, ctl::lblInfo}) {
    w.runtime.PressKey(slot, runtime::kKeyF5);
    w.runtime.PressKey(slot, runtime::kKeyEscape);
  }
  EXPECT_EQ(w.Results(), before);
  EXPECT_FALSE(w.runtime.Ended());
}

}  // namespace
}  // namespace tolvane::window
