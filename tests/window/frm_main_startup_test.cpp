#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "fake_window.h"
#include "generator/character_table.h"
#include "runtime/keys.h"
#include "runtime/windowless/windowless_runtime.h"
#include "runtime_harness.h"
#include "test_random.h"
#include "utf8.h"
#include "window/frm_main.h"
#include "window/frm_main_layout.h"

namespace tolvane::window {
namespace {

using testing::CountingSource;
using testing::SeededSource;

struct Started : FakeWindow {
  Started() : FakeWindow(99) {}
};

// Each bound chosen at load refreshes the passwords: twice before the window shows.
TEST(FrmMainLoad, ChecksInstanceFirstThenFillsListsAndRefreshesTwice) {
  Started s;
  EXPECT_EQ(s.form.Run(), 0);

  const auto& log = s.runtime.log;
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log[0], "Load");
  EXPECT_EQ(log[1], "PrevInstance");
  EXPECT_EQ(std::count(log.begin(), log.end(), "txtResults(1).Text"), 2);
  EXPECT_EQ(std::count(log.begin(), log.end(), "txtResults(10).Text"), 2);
  EXPECT_TRUE(s.runtime.shown);
}

TEST(FrmMainLoad, DefaultsAreFourClassesAndBoundsEightAndTwelve) {
  Started s;
  s.form.Run();
  EXPECT_EQ(std::vector<std::int16_t>({s.form.UseDigits, s.form.UseEngUpper, s.form.UseEngLower,
                                       s.form.UseSpecial, s.form.UseRusUpper, s.form.UseRusLower}),
            std::vector<std::int16_t>({1, 1, 1, 1, 0, 0}));

  std::vector<std::string> entries;
  for (int n = 50; n >= 1; --n) entries.push_back(std::to_string(n));
  EXPECT_EQ(s.runtime.Items(ctl::cmbSizeA), entries);
  EXPECT_EQ(s.runtime.Items(ctl::cmbSizeB), entries);
  EXPECT_EQ(s.runtime.Items(ctl::cmbSizeA)[s.form.cmbSizeA.ListIndex()], "8");
  EXPECT_EQ(s.runtime.Items(ctl::cmbSizeB)[s.form.cmbSizeB.ListIndex()], "12");

  std::set<char32_t> allowed;
  for (std::size_t c = 0; c < 4; ++c)
    allowed.insert(kClassCharacters[c].begin(), kClassCharacters[c].end());
  for (const std::string& text : s.Results()) {
    const std::u32string password = testing::FromUtf8(text);
    EXPECT_GE(password.size(), 8u);
    EXPECT_LE(password.size(), 12u);
    for (char32_t c : password) EXPECT_TRUE(allowed.count(c)) << text;
  }
}

TEST(FrmMainLoad, SecondInstanceEndsBeforeAnythingElse) {
  Started s;
  s.runtime.anotherInstance = true;
  EXPECT_EQ(s.form.Run(), 0);
  EXPECT_TRUE(s.runtime.Ended());
  EXPECT_FALSE(s.runtime.shown);
  EXPECT_EQ(s.runtime.log, (std::vector<std::string>{"Load", "PrevInstance", "End", "end Load"}));
  EXPECT_EQ(s.random.count, 0u);
  EXPECT_TRUE(s.runtime.Items(ctl::cmbSizeA).empty());
}

// Each choice refreshes all ten once; A = "20", then B = "5": lengths lie in 5..20 whichever
// list holds the larger.
TEST(FrmMainLists, ChoosingEitherBoundRegeneratesWithinTheNewRange) {
  Started s;
  s.form.Run();
  for (auto [list, index] : {std::pair{ctl::cmbSizeA, 30}, std::pair{ctl::cmbSizeB, 45}}) {
    s.runtime.log.clear();
    s.runtime.UserChoose(list, index);
    EXPECT_EQ(s.TextWrites(), 10);
  }
  std::set<std::size_t> lengths;
  for (int round = 0; round < 40; ++round) {
    const auto before = s.Results();
    s.runtime.PressKey(ctl::cmbSizeA, runtime::kKeyF5);
    for (const std::string& text : s.Results()) lengths.insert(testing::FromUtf8(text).size());
    EXPECT_NE(s.Results(), before);
  }
  EXPECT_EQ(*lengths.begin(), 5u);
  EXPECT_EQ(*lengths.rbegin(), 20u);
}

// A start that knows it is the second runs the same Load on a runtime without windows: Load
// ends it, with status 0, before anything is drawn; a first start there cannot go on.
TEST(FrmMainLoad, OnTheWindowlessRuntimeOnlyASecondStartEnds) {
  for (const bool another : {true, false}) {
    SeededSource seeded{5};
    CountingSource random{seeded};
    testing::FixedInstance instance(another);
    int ended = 0;
    runtime::WindowlessRuntime runtime({random, instance}, testing::kTestProgram, [&] { ++ended; });
    frmMain form(runtime);
    if (another) {
      EXPECT_EQ(form.Run(), 0);
      EXPECT_EQ(ended, 1);
      EXPECT_EQ(random.count, 0u);
    } else {
      EXPECT_THROW(form.Run(), std::logic_error);
      EXPECT_EQ(form.cmbSizeB.ListIndex(), 38) << "Load ran as designed";
    }
  }
}

}  // namespace
}  // namespace tolvane::window
