// frmMain on each toolkit's runtime: the window the user sees first. (What clicks and keys do
// is the window logic's, tested on the fake; that each runtime delivers them, the contract's.)
#include <gtest/gtest.h>

#include "runtime/keys.h"
#include "runtime_harness.h"
#include "test_random.h"
#include "utf8.h"
#include "window/frm_main.h"
#include "window/frm_main_layout.h"

namespace tolvane::window {
namespace {

using testing::PixelRect;

// A runtime and the window on it.
struct Running {
  void Start() { harness->StartLastForm(); }
  std::string Result(int i) { return form.txtResults(i).Text(); }
  std::vector<std::string> Results() {
    std::vector<std::string> texts;
    for (int i = 1; i <= 10; ++i) texts.push_back(Result(i));
    return texts;
  }

  testing::SeededSource random{2026};
  testing::FixedInstance instance;
  std::unique_ptr<testing::RuntimeHarness> harness = testing::MakeHarness({random, instance});
  frmMain form{harness->Runtime()};
};

TEST(FrmMainOnRuntime, FirstShowShowsTheTitleTheBoundsAndTenPasswords) {
  Running app;
  EXPECT_FALSE(app.harness->WindowVisible()) << "shown before it was loaded";
  app.Start();
  EXPECT_TRUE(app.harness->WindowVisible());
  EXPECT_EQ(app.harness->Title(), "Tolvane");
  EXPECT_EQ(app.harness->ClientArea(), (PixelRect{0, 0, 451, 403}));
  EXPECT_EQ(app.harness->ShownText(ctl::cmbSizeA), "8");
  EXPECT_EQ(app.harness->ShownText(ctl::cmbSizeB), "12");
  for (int i = 1; i <= 10; ++i) {  // what the passwords are is the window logic's matter
    EXPECT_GE(testing::FromUtf8(app.Result(i)).size(), 8u);
    EXPECT_EQ(app.harness->ShownText(ctl::txtResults(i)), app.Result(i));
    if (i > 1) {  // box 1 at the top
      EXPECT_GT(app.harness->RectOf(ctl::txtResults(i)).top,
                app.harness->RectOf(ctl::txtResults(i - 1)).top);
    }
  }
}

TEST(FrmMainOnRuntime, CyrillicBoxesLieAboveTheOptionsFrameAndTakeItsClicks) {
  Running app;
  app.Start();
  for (std::size_t box : {ctl::chE, ctl::chF}) {
    const PixelRect r = app.harness->RectOf(box);
    EXPECT_EQ(app.harness->ControlAt(r.left + r.width / 2, r.top + r.height / 2), box);
  }
}

TEST(FrmMainOnRuntime, TabVisitsTheFocusableControlsInDesignedOrder) {
  Running app;
  app.Start();
  std::vector<std::size_t> expected{ctl::cmbSizeA, ctl::cmbSizeB, ctl::chA, ctl::chB,
                                    ctl::chC,      ctl::chD,      ctl::chE, ctl::chF};
  for (int i = 1; i <= 10; ++i) expected.push_back(ctl::txtResults(i));
  expected.push_back(ctl::cmbSizeA);  // and round again
  for (std::size_t i = 1; i < expected.size(); ++i) {
    EXPECT_EQ(app.harness->FocusAfterTab(expected[i - 1]), expected[i]) << "step " << i;
  }
}

}  // namespace
}  // namespace tolvane::window
