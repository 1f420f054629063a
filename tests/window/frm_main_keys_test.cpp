#include <gtest/gtest.h>

#include <algorithm>

#include "fake_runtime.h"
#include "runtime/keys.h"
#include "test_random.h"
#include "window/frm_main.h"
#include "window/frm_main_layout.h"

namespace tolvane::window {
namespace {

using testing::FakeRuntime;
using testing::SeededSource;

// Every control that takes the focus and so receives keys.
const std::vector<std::size_t> kFocusable = [] {
  std::vector<std::size_t> slots{ctl::chA, ctl::chB, ctl::chC,      ctl::chD,
                                 ctl::chE, ctl::chF, ctl::cmbSizeA, ctl::cmbSizeB};
  for (int i = 1; i <= 10; ++i) slots.push_back(ctl::txtResults(i));
  return slots;
}();

struct KeyCase {
  std::int16_t key;
  std::int16_t shift;
};

// Slot 17, F2, no shift -> "slot17_key113_shift0".
std::string KeyTestName(const ::testing::TestParamInfo<std::tuple<std::size_t, KeyCase>>& info) {
  const auto& [slot, key] = info.param;
  return "slot" + std::to_string(slot) + "_key" + std::to_string(key.key) + "_shift" +
         std::to_string(key.shift);
}

class KeyRuleTest : public ::testing::TestWithParam<std::tuple<std::size_t, KeyCase>> {
 protected:
  void SetUp() override { form.Run(); }

  std::vector<std::string> Results() const {
    std::vector<std::string> texts;
    for (int i = 1; i <= 10; ++i) texts.push_back(runtime.Text(ctl::txtResults(i)));
    return texts;
  }
  long TextWrites() const {
    return std::count_if(runtime.log.begin(), runtime.log.end(),
                         [](const std::string& e) { return e.ends_with(".Text"); });
  }

  SeededSource random{5};
  FakeRuntime runtime{random};
  frmMain form{runtime};
};

using RefreshKeys = KeyRuleTest;

TEST_P(RefreshKeys, ReplaceAllTenPasswords) {
  const auto [slot, key] = GetParam();
  const auto before = Results();
  runtime.log.clear();
  runtime.PressKey(slot, key.key, key.shift);
  EXPECT_EQ(TextWrites(), 10);
  const auto after = Results();
  for (int i = 0; i < 10; ++i) EXPECT_NE(after[i], before[i]) << "box " << i + 1;
  EXPECT_FALSE(runtime.ended);
}

INSTANTIATE_TEST_SUITE_P(
    F5AndF2Anywhere, RefreshKeys,
    ::testing::Combine(::testing::ValuesIn(kFocusable),
                       ::testing::Values(KeyCase{runtime::kKeyF5, 0}, KeyCase{runtime::kKeyF2, 0},
                                         KeyCase{runtime::kKeyF5, runtime::kShiftMask},
                                         KeyCase{runtime::kKeyF2, runtime::kCtrlMask})),
    KeyTestName);

using EscapeKey = KeyRuleTest;

TEST_P(EscapeKey, UnloadsAndEndsTheProcess) {
  const auto [slot, key] = GetParam();
  runtime.log.clear();
  runtime.PressKey(slot, key.key, key.shift);
  EXPECT_TRUE(runtime.ended);
  EXPECT_EQ(runtime.endCalls, 1);
  EXPECT_NE(std::find(runtime.log.begin(), runtime.log.end(), "Unload"), runtime.log.end());
  EXPECT_EQ(TextWrites(), 0);
}

INSTANTIATE_TEST_SUITE_P(Anywhere, EscapeKey,
                         ::testing::Combine(::testing::ValuesIn(kFocusable),
                                            ::testing::Values(KeyCase{runtime::kKeyEscape, 0},
                                                              KeyCase{runtime::kKeyEscape,
                                                                      runtime::kShiftMask})),
                         KeyTestName);

using OtherKeys = KeyRuleTest;

TEST_P(OtherKeys, DoNothing) {
  const auto [slot, key] = GetParam();
  const auto before = Results();
  runtime.PressKey(slot, key.key, key.shift);
  EXPECT_EQ(Results(), before);
  EXPECT_FALSE(runtime.ended);
}

INSTANTIATE_TEST_SUITE_P(
    NeighboursOfTheRuleKeys, OtherKeys,
    ::testing::Combine(::testing::Values(ctl::chA, ctl::cmbSizeB, ctl::txtResults(3)),
                       ::testing::Values(KeyCase{112, 0}, KeyCase{114, 0}, KeyCase{115, 0},
                                         KeyCase{117, 0}, KeyCase{13, 0}, KeyCase{32, 0},
                                         KeyCase{'R', runtime::kCtrlMask}, KeyCase{0, 0},
                                         KeyCase{26, 0}, KeyCase{28, 0})),
    KeyTestName);

TEST(FrmMainClose, ClosingTheWindowEndsTheProcess) {
  SeededSource random(1);
  FakeRuntime runtime(random);
  frmMain form(runtime);
  form.Run();
  runtime.CloseWindow();
  EXPECT_TRUE(runtime.ended);
  EXPECT_EQ(runtime.endCalls, 1);
}

}  // namespace
}  // namespace tolvane::window
