#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "runtime/runtime.h"

namespace tolvane::window {

// The one window: option flags, length lists, ten results and the look-alike warning.
// Every handler runs on the runtime's one thread; writes to check boxes and lists raise
// their Click inside the write.
class frmMain final : private runtime::FormEvents {
 public:
  explicit frmMain(runtime::Runtime& runtime);

  // Loads, shows and runs the window; returns the process's exit status.
  int Run();

  // Option flags, one per character class, each 0 or 1: the state the handlers keep, open to
  // reading so that it can be held against the check boxes.
  std::int16_t UseDigits = 0;
  std::int16_t UseEngUpper = 0;
  std::int16_t UseEngLower = 0;
  std::int16_t UseSpecial = 0;
  std::int16_t UseRusUpper = 0;
  std::int16_t UseRusLower = 0;

 private:
  // The handlers, reached only through the runtime's events.
  void Form_Load();
  void Form_Unload();
  void FillSizeLists();
  void RefreshResults();
  std::string GeneratePassword();

  void cmbSizeA_Click();
  void cmbSizeB_Click();
  void txtResults_KeyDown(int Index, std::int16_t KeyCode, std::int16_t Shift);
  // The key rule shared by the check boxes, both lists and the result boxes.
  void KeyDownRule(std::int16_t KeyCode);

  void chA_Click();
  void chB_Click();
  void chC_Click();
  void chD_Click();
  void chE_Click();
  void chF_Click();
  void lblA_Click();
  void lblB_Click();
  void lblC_Click();
  void lblD_Click();
  void lblE_Click();
  void lblF_Click();
  void tmrSelect_Timer();

  void Load() override;
  void Unload() override;
  void Click(std::size_t slot) override;
  void KeyDown(std::size_t slot, std::int16_t keyCode, std::int16_t shift) override;
  void TimerTick(std::size_t slot) override;

  void LetterBoxClick(runtime::CheckBox& box, std::int16_t& flag, runtime::CheckBox& latin,
                      runtime::CheckBox& cyrillic, std::int16_t partnerFlag);
  static void ToggleValue(runtime::CheckBox& box);
  static void SetColorIfDifferent(runtime::CheckBox& box, runtime::Color color);

  runtime::Runtime& runtime_;
  runtime::Form& form_;

 public:
  runtime::Timer& tmrSelect;
  runtime::CheckBox& chA;
  runtime::CheckBox& chB;
  runtime::CheckBox& chC;
  runtime::CheckBox& chD;
  runtime::CheckBox& chE;
  runtime::CheckBox& chF;
  runtime::ComboBox& cmbSizeA;
  runtime::ComboBox& cmbSizeB;
  // txtResults(1) is the top box, txtResults(10) the bottom one.
  runtime::TextBox& txtResults(int Index);

 private:
  std::array<runtime::TextBox*, 10> results_{};
};

}  // namespace tolvane::window
