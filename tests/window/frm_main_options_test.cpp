#include <gtest/gtest.h>

#include <algorithm>

#include "fake_window.h"
#include "generator/character_table.h"
#include "test_random.h"
#include "utf8.h"
#include "window/frm_main.h"
#include "window/frm_main_layout.h"

namespace tolvane::window {
namespace {

class Options : public ::testing::Test, public FakeWindow {
 protected:
  Options() : FakeWindow(11) {}
  void SetUp() override { form.Run(); }

  std::array<std::int16_t, 6> Flags() const {
    return {form.UseDigits,  form.UseEngUpper, form.UseEngLower,
            form.UseSpecial, form.UseRusUpper, form.UseRusLower};
  }
  runtime::Color Color(std::size_t box) { return Box(box).ForeColor(); }
};

constexpr std::array<std::size_t, 6> kBoxes{ctl::chA, ctl::chB, ctl::chC,
                                            ctl::chD, ctl::chE, ctl::chF};
constexpr std::array<std::size_t, 6> kLabels{ctl::lblA, ctl::lblB, ctl::lblC,
                                             ctl::lblD, ctl::lblE, ctl::lblF};

TEST_F(Options, EachLabelTogglesItsOwnBoxBothWays) {
  for (std::size_t i = 0; i < 6; ++i) {
    const auto flagsBefore = Flags();
    for (int round = 0; round < 2; ++round) {
      const std::int16_t was = Box(kBoxes[i]).Value();
      runtime.UserClick(kLabels[i]);
      EXPECT_EQ(Box(kBoxes[i]).Value(), 1 - was) << "label " << i;
      auto expected = flagsBefore;
      expected[i] = static_cast<std::int16_t>(1 - was);
      if (round == 1) expected[i] = flagsBefore[i];
      EXPECT_EQ(Flags(), expected) << "label " << i << " round " << round;
    }
  }
}

struct PairCase {
  const char* name;
  std::size_t latin;
  std::size_t cyrillic;
  std::size_t otherLatin;
  std::size_t otherCyrillic;
};

class PairWarning : public Options, public ::testing::WithParamInterface<PairCase> {};

TEST_P(PairWarning, SwitchingTheCyrillicSideOnWarnsBothForOneIntervalAndOneTick) {
  const PairCase& p = GetParam();
  runtime.UserClick(p.cyrillic);
  EXPECT_EQ(Color(p.latin), kWarnColor);
  EXPECT_EQ(Color(p.cyrillic), kWarnColor);
  EXPECT_EQ(Color(p.otherLatin), runtime::kBlack);
  EXPECT_EQ(Color(p.otherCyrillic), runtime::kBlack);
  EXPECT_TRUE(form.tmrSelect.Enabled());

  runtime.AdvanceMs(kTimerIntervalMs - 1);
  EXPECT_EQ(Color(p.latin), kWarnColor);  // never early
  runtime.log.clear();
  runtime.AdvanceMs(1 + 3 * kTimerIntervalMs);
  EXPECT_EQ(Color(p.latin), runtime::kBlack);
  EXPECT_EQ(Color(p.cyrillic), runtime::kBlack);
  EXPECT_FALSE(form.tmrSelect.Enabled());
  EXPECT_EQ(std::count(runtime.log.begin(), runtime.log.end(), "Timer tmrSelect"), 1);
}

TEST_P(PairWarning, SwitchingTheLatinSideOnWhileCyrillicIsOnWarnsToo) {
  const PairCase& p = GetParam();
  runtime.UserClick(p.latin);  // off
  runtime.AdvanceMs(kTimerIntervalMs);
  runtime.UserClick(p.cyrillic);  // on, partner off: no warning
  EXPECT_EQ(Color(p.cyrillic), runtime::kBlack);
  runtime.UserClick(p.latin);  // on, partner on
  EXPECT_EQ(Color(p.latin), kWarnColor);
  EXPECT_EQ(Color(p.cyrillic), kWarnColor);
}

TEST_P(PairWarning, SwitchingEitherSideOffClearsAtOnce) {
  const PairCase& p = GetParam();
  for (bool latinOff : {true, false}) {
    SCOPED_TRACE(latinOff ? "latin off" : "cyrillic off");
    runtime.UserClick(p.cyrillic);  // on: the pair turns red
    ASSERT_EQ(Color(p.latin), kWarnColor);
    runtime.UserClick(latinOff ? p.latin : p.cyrillic);
    EXPECT_EQ(Color(p.latin), runtime::kBlack);
    EXPECT_EQ(Color(p.cyrillic), runtime::kBlack);
    EXPECT_TRUE(form.tmrSelect.Enabled());  // switching off restarts it as well
    // Back to the defaults: Latin on, Cyrillic off.
    if (latinOff) runtime.UserClick(p.latin), runtime.UserClick(p.cyrillic);
    runtime.AdvanceMs(kTimerIntervalMs);
  }
}

TEST_P(PairWarning, AClickOnTheOtherPairRestartsTheTimerAndKeepsThisPairRed) {
  const PairCase& p = GetParam();
  runtime.UserClick(p.cyrillic);
  runtime.AdvanceMs(3000);
  runtime.UserClick(p.otherLatin);  // off: the other pair has nothing to clear
  EXPECT_EQ(Color(p.latin), kWarnColor);
  runtime.AdvanceMs(kTimerIntervalMs - 1);
  EXPECT_EQ(Color(p.latin), kWarnColor);
  EXPECT_EQ(Color(p.cyrillic), kWarnColor);
  runtime.AdvanceMs(1);
  EXPECT_EQ(Color(p.latin), runtime::kBlack);
}

INSTANTIATE_TEST_SUITE_P(
    BothCases, PairWarning,
    ::testing::Values(PairCase{"upper", ctl::chB, ctl::chE, ctl::chC, ctl::chF},
                      PairCase{"lower", ctl::chC, ctl::chF, ctl::chB, ctl::chE}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Options, DigitsAndSpecialCharactersNeverWarn) {
  for (std::size_t box : {ctl::chA, ctl::chD, ctl::chA, ctl::chD}) {
    runtime.UserClick(box);
    for (std::size_t b : kBoxes) EXPECT_EQ(Color(b), runtime::kBlack);
  }
  EXPECT_FALSE(form.tmrSelect.Enabled());
}

TEST_F(Options, AllClassesOffEmptiesTheBoxesAndOneBackFillsThem) {
  for (std::size_t box : {ctl::chA, ctl::chB, ctl::chC, ctl::chD}) runtime.UserClick(box);
  for (int i = 1; i <= 10; ++i) EXPECT_EQ(form.txtResults(i).Text(), "");
  runtime.UserClick(ctl::lblF);
  for (int i = 1; i <= 10; ++i) {
    const auto p = testing::FromUtf8(form.txtResults(i).Text());
    EXPECT_GE(p.size(), 8u);
    for (char32_t c : p) EXPECT_NE(kClassCharacters[5].find(c), std::u32string_view::npos);
  }
}

}  // namespace
}  // namespace tolvane::window
