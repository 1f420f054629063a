#include "window/frm_main.h"

#include <stdexcept>
#include <string>

#include "generator/password_rule.h"
#include "runtime/keys.h"
#include "window/frm_main_layout.h"

namespace tolvane::window {
namespace {

constexpr int kListEntries = 50;

// A list holds "50" down to "1", so its bound is 50 minus the selected index.
int BoundOf(const runtime::ComboBox& list) {
  return kListEntries - list.ListIndex();
}
constexpr int IndexOfBound(int bound) {
  return kListEntries - bound;
}
constexpr int kDefaultIndexA = IndexOfBound(8);  // the entry "8"
constexpr int kDefaultIndexB = IndexOfBound(12);

}  // namespace

frmMain::frmMain(runtime::Runtime& runtime)
    : runtime_(runtime),
      form_(runtime.CreateForm(FrmMainLayout(), *this)),
      tmrSelect(form_.TimerAt(ctl::tmrSelect)),
      chA(form_.CheckBoxAt(ctl::chA)),
      chB(form_.CheckBoxAt(ctl::chB)),
      chC(form_.CheckBoxAt(ctl::chC)),
      chD(form_.CheckBoxAt(ctl::chD)),
      chE(form_.CheckBoxAt(ctl::chE)),
      chF(form_.CheckBoxAt(ctl::chF)),
      cmbSizeA(form_.ComboBoxAt(ctl::cmbSizeA)),
      cmbSizeB(form_.ComboBoxAt(ctl::cmbSizeB)) {
  for (int i = 1; i <= ctl::kResultCount; ++i) {
    results_[i - 1] = &form_.TextBoxAt(ctl::txtResults(i));
  }
}

int frmMain::Run() {
  return runtime_.Run(form_);
}

runtime::TextBox& frmMain::txtResults(int Index) {
  if (Index < 1 || Index > ctl::kResultCount) throw std::out_of_range("txtResults index");
  return *results_[Index - 1];
}

void frmMain::Form_Load() {
  if (runtime_.PrevInstance()) {
    runtime_.End();
    return;
  }
  // The random source is the system's cryptographic generator: there is nothing to seed.
  UseDigits = 1;
  UseEngUpper = 1;
  UseEngLower = 1;
  UseSpecial = 1;
  FillSizeLists();
}

void frmMain::Form_Unload() {
  runtime_.End();
}

void frmMain::FillSizeLists() {
  for (int n = kListEntries; n >= 1; --n) {
    const std::string text = std::to_string(n);
    cmbSizeA.AddItem(text);
    cmbSizeB.AddItem(text);
  }
  cmbSizeA.SetListIndex(kDefaultIndexA);
  cmbSizeB.SetListIndex(kDefaultIndexB);
}

void frmMain::RefreshResults() {
  for (int index = 1; index <= ctl::kResultCount; ++index) {
    txtResults(index).SetText(GeneratePassword());
  }
}

std::string frmMain::GeneratePassword() {
  const OptionFlags flags{UseDigits,  UseEngUpper, UseEngLower,
                          UseSpecial, UseRusUpper, UseRusLower};
  return ToUtf8(
      tolvane::GeneratePassword(flags, BoundOf(cmbSizeA), BoundOf(cmbSizeB), runtime_.Random()));
}

void frmMain::cmbSizeA_Click() {
  RefreshResults();
}
void frmMain::cmbSizeB_Click() {
  RefreshResults();
}

void frmMain::txtResults_KeyDown(int /*Index*/, std::int16_t KeyCode, std::int16_t /*Shift*/) {
  KeyDownRule(KeyCode);
}

void frmMain::KeyDownRule(std::int16_t KeyCode) {
  if (KeyCode == runtime::kKeyF5 || KeyCode == runtime::kKeyF2) RefreshResults();
  if (KeyCode == runtime::kKeyEscape) form_.Unload();
}

void frmMain::chA_Click() {
  UseDigits = runtime::CheckValue(chA.Value());
  RefreshResults();
}

void frmMain::chD_Click() {
  UseSpecial = runtime::CheckValue(chD.Value());
  RefreshResults();
}

void frmMain::chB_Click() {
  LetterBoxClick(chB, UseEngUpper, chB, chE, UseRusUpper);
}
void frmMain::chE_Click() {
  LetterBoxClick(chE, UseRusUpper, chB, chE, UseEngUpper);
}
void frmMain::chC_Click() {
  LetterBoxClick(chC, UseEngLower, chC, chF, UseRusLower);
}
void frmMain::chF_Click() {
  LetterBoxClick(chF, UseRusLower, chC, chF, UseEngLower);
}

// Latin and Cyrillic letters of one case share look-alike glyphs: while both are on, the
// pair's captions stay red until the timer runs a full interval after the last letter click.
void frmMain::LetterBoxClick(runtime::CheckBox& box, std::int16_t& flag, runtime::CheckBox& latin,
                             runtime::CheckBox& cyrillic, std::int16_t partnerFlag) {
  flag = runtime::CheckValue(box.Value());
  if (flag == 0) {
    SetColorIfDifferent(latin, runtime::kBlack);
    SetColorIfDifferent(cyrillic, runtime::kBlack);
  } else if (partnerFlag == 1) {
    SetColorIfDifferent(latin, kWarnColor);
    SetColorIfDifferent(cyrillic, kWarnColor);
  }
  tmrSelect.SetEnabled(false);
  tmrSelect.SetEnabled(true);
  RefreshResults();
}

void frmMain::tmrSelect_Timer() {
  for (runtime::CheckBox* box : {&chB, &chC, &chE, &chF}) {
    SetColorIfDifferent(*box, runtime::kBlack);
  }
  tmrSelect.SetEnabled(false);
}

void frmMain::ToggleValue(runtime::CheckBox& box) {
  box.SetValue(box.Value() == 0 ? 1 : 0);
}

void frmMain::SetColorIfDifferent(runtime::CheckBox& box, runtime::Color color) {
  if (box.ForeColor() != color) box.SetForeColor(color);
}

void frmMain::lblA_Click() {
  ToggleValue(chA);
}
void frmMain::lblB_Click() {
  ToggleValue(chB);
}
void frmMain::lblC_Click() {
  ToggleValue(chC);
}
void frmMain::lblD_Click() {
  ToggleValue(chD);
}
void frmMain::lblE_Click() {
  ToggleValue(chE);
}
void frmMain::lblF_Click() {
  ToggleValue(chF);
}

void frmMain::Load() {
  Form_Load();
}
void frmMain::Unload() {
  Form_Unload();
}

void frmMain::Click(std::size_t slot) {
  switch (static_cast<ctl::Slot>(slot)) {
    case ctl::chA:
      return chA_Click();
    case ctl::chB:
      return chB_Click();
    case ctl::chC:
      return chC_Click();
    case ctl::chD:
      return chD_Click();
    case ctl::chE:
      return chE_Click();
    case ctl::chF:
      return chF_Click();
    case ctl::lblA:
      return lblA_Click();
    case ctl::lblB:
      return lblB_Click();
    case ctl::lblC:
      return lblC_Click();
    case ctl::lblD:
      return lblD_Click();
    case ctl::lblE:
      return lblE_Click();
    case ctl::lblF:
      return lblF_Click();
    case ctl::cmbSizeA:
      return cmbSizeA_Click();
    case ctl::cmbSizeB:
      return cmbSizeB_Click();
    case ctl::tmrSelect:
    case ctl::frResults:
    case ctl::frOptions:
    case ctl::txtResults10:
    case ctl::txtResults1:
    case ctl::lblSize:
    case ctl::lblInfo:
    case ctl::count:
      return;  // no Click handler
  }
}

void frmMain::KeyDown(std::size_t slot, std::int16_t keyCode, std::int16_t shift) {
  if (ctl::IsResultBox(slot)) return txtResults_KeyDown(ctl::ResultIndex(slot), keyCode, shift);
  switch (static_cast<ctl::Slot>(slot)) {
    case ctl::chA:
    case ctl::chB:
    case ctl::chC:
    case ctl::chD:
    case ctl::chE:
    case ctl::chF:
    case ctl::cmbSizeA:
    case ctl::cmbSizeB:
      return KeyDownRule(keyCode);
    case ctl::tmrSelect:
    case ctl::frResults:
    case ctl::frOptions:
    case ctl::txtResults10:  // the result boxes are answered above
    case ctl::txtResults1:
    case ctl::lblA:
    case ctl::lblB:
    case ctl::lblC:
    case ctl::lblD:
    case ctl::lblE:
    case ctl::lblF:
    case ctl::lblSize:
    case ctl::lblInfo:
    case ctl::count:
      return;  // takes no keys
  }
}

void frmMain::TimerTick(std::size_t slot) {
  if (slot == ctl::tmrSelect) tmrSelect_Timer();
}

}  // namespace tolvane::window
