#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "fake_runtime.h"
#include "test_random.h"
#include "window/frm_main.h"
#include "window/frm_main_layout.h"

namespace tolvane::window {

// frmMain on the fake runtime, drawing from a seeded source that counts its draws.
struct FakeWindow {
  explicit FakeWindow(std::uint64_t seed) : seeded(seed) {}

  std::vector<std::string> Results() {
    std::vector<std::string> texts;
    for (int i = 1; i <= 10; ++i) texts.push_back(form.txtResults(i).Text());
    return texts;
  }
  runtime::CheckBox& Box(std::size_t slot) { return runtime.LastForm().CheckBoxAt(slot); }
  long TextWrites() const {
    return std::count_if(runtime.log.begin(), runtime.log.end(),
                         [](const std::string& e) { return e.ends_with(".Text"); });
  }

  testing::SeededSource seeded;
  testing::CountingSource random{seeded};
  testing::FakeRuntime runtime{random};
  frmMain form{runtime};
};

}  // namespace tolvane::window
