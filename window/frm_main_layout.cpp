#include "window/frm_main_layout.h"

#include <array>
#include <utility>

#include "window/tolvane_icon.xpm"

namespace tolvane::window {
namespace {

using runtime::ControlKind;
using runtime::ControlLayout;
using runtime::kOnForm;
using runtime::TextAlign;

// The letter boxes' captions turn red while both alphabets of a case are on; the note says why.
constexpr ControlLayout CheckBoxLayout(std::string_view name, std::size_t container,
                                       std::string_view caption, int left, int top, int tab,
                                       int value, bool letters = false) {
  return {.name = name,
          .kind = ControlKind::CheckBox,
          .container = container,
          .caption = caption,
          .colourNote = letters ? ctl::lblInfo : runtime::kNoControl,
          .bounds = {left, top, 2355, 225},
          .tabIndex = tab,
          .value = value,
          .backColor = kPanelGrey};
}

constexpr ControlLayout SetLabelLayout(std::string_view name, std::string_view caption, int top,
                                       int tab, std::size_t box = runtime::kNoControl) {
  return {.name = name,
          .kind = ControlKind::Label,
          .container = ctl::frOptions,
          .caption = caption,
          .labelFor = box,
          .bounds = {90, top, 3975, 285},
          .tabIndex = tab,
          .align = TextAlign::Right,
          .backColor = kPanelGrey};
}

constexpr ControlLayout ComboLayout(std::string_view name, std::string_view spoken, int left,
                                    int tab) {
  return {.name = name,
          .kind = ControlKind::ComboBox,
          .container = ctl::frOptions,
          .accessibleName = spoken,
          .bounds = {left, 1950, 915, 330},
          .tabIndex = tab,
          .backColor = kFieldGrey};
}

constexpr std::array<std::string_view, 10> kResultNames{
    "Пароль 1", "Пароль 2", "Пароль 3", "Пароль 4", "Пароль 5",
    "Пароль 6", "Пароль 7", "Пароль 8", "Пароль 9", "Пароль 10"};

constexpr ControlLayout ResultLayout(int index) {
  return {.name = "txtResults",
          .index = index,
          .kind = ControlKind::TextBox,
          .container = ctl::frResults,
          .accessibleName = kResultNames[index - 1],
          .bounds = {90, 270 * index, 6405, 255},
          .tabIndex = 16 + index,
          .backColor = kFieldGrey};
}

constexpr std::array<ControlLayout, ctl::count> kControls{{
    {.name = "tmrSelect", .kind = ControlKind::Timer, .intervalMs = kTimerIntervalMs},
    CheckBoxLayout("chF", kOnForm, "РУС Строчные буквы", 4230, 1710, 15, 0, true),
    CheckBoxLayout("chE", kOnForm, "РУС Прописные буквы", 4230, 1440, 13, 0, true),
    {.name = "frResults",
     .kind = ControlKind::Frame,
     .caption = "Сгенерированные пароли",
     .bounds = {90, 2610, 6585, 3075},
     .tabIndex = 16,
     .backColor = kPanelGrey},
    ResultLayout(10),
    ResultLayout(9),
    ResultLayout(8),
    ResultLayout(7),
    ResultLayout(6),
    ResultLayout(5),
    ResultLayout(4),
    ResultLayout(3),
    ResultLayout(2),
    ResultLayout(1),
    {.name = "frOptions",
     .kind = ControlKind::Frame,
     .caption = "Настройки",
     .describedBy = ctl::lblInfo,
     .bounds = {90, 90, 6585, 2445},
     .tabIndex = 0,
     .backColor = kPanelGrey},
    ComboLayout("cmbSizeB", "Длина до", 5130, 3),
    CheckBoxLayout("chA", ctl::frOptions, "Цифры", 4140, 270, 5, 1),
    CheckBoxLayout("chB", ctl::frOptions, "ENG Прописные буквы", 4140, 540, 7, 1, true),
    CheckBoxLayout("chC", ctl::frOptions, "ENG Строчные буквы", 4140, 810, 9, 1, true),
    CheckBoxLayout("chD", ctl::frOptions, "Специальные символы", 4140, 1080, 11, 1),
    ComboLayout("cmbSizeA", "Длина от", 4140, 2),
    SetLabelLayout("lblF", "абвгдеёжзийклмнопрстуфхцчшщъыьэюя", 1620, 14, ctl::chF),
    SetLabelLayout("lblE", "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ", 1350, 12, ctl::chE),
    SetLabelLayout("lblA", "0123456789", 270, 4, ctl::chA),
    SetLabelLayout("lblB", "ABCDEFGHIJKLMNOPQRSTUVWXYZ", 540, 6, ctl::chB),
    SetLabelLayout("lblC", "abcdefghijklmnopqrstuvwxyz", 810, 8, ctl::chC),
    SetLabelLayout("lblD", "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~", 1080, 10, ctl::chD),
    SetLabelLayout("lblSize", "Количество символов, \"от\" и \"до\"", 1980, 1),
    {.name = "lblInfo",
     .kind = ControlKind::Label,
     .caption = "При использовании нескольких языков возможны похожие символы!",
     .bounds = {90, 5760, 6585, 285},
     .tabIndex = 27,
     .align = TextAlign::Centre,
     .foreColor = kWarnColor,
     .backColor = kPanelGrey,
     .bold = true},
}};

// The name a slot's control has in the table; the result boxes share one.
constexpr std::string_view SlotName(ctl::Slot slot) {
  switch (slot) {
    case ctl::tmrSelect:
      return "tmrSelect";
    case ctl::chF:
      return "chF";
    case ctl::chE:
      return "chE";
    case ctl::frResults:
      return "frResults";
    case ctl::txtResults10:
    case ctl::txtResults1:
      return "txtResults";
    case ctl::frOptions:
      return "frOptions";
    case ctl::cmbSizeB:
      return "cmbSizeB";
    case ctl::chA:
      return "chA";
    case ctl::chB:
      return "chB";
    case ctl::chC:
      return "chC";
    case ctl::chD:
      return "chD";
    case ctl::cmbSizeA:
      return "cmbSizeA";
    case ctl::lblF:
      return "lblF";
    case ctl::lblE:
      return "lblE";
    case ctl::lblA:
      return "lblA";
    case ctl::lblB:
      return "lblB";
    case ctl::lblC:
      return "lblC";
    case ctl::lblD:
      return "lblD";
    case ctl::lblSize:
      return "lblSize";
    case ctl::lblInfo:
      return "lblInfo";
    case ctl::count:
      break;
  }
  return "txtResults";  // the boxes between the first and the last
}

// The slots of ctl must name the very controls of the table.
constexpr bool SlotsMatchTable() {
  for (std::size_t slot = 0; slot < ctl::count; ++slot) {
    const runtime::ControlLayout& control = kControls[slot];
    if (control.name != SlotName(static_cast<ctl::Slot>(slot))) return false;
    const int index = ctl::IsResultBox(slot) ? ctl::ResultIndex(slot) : 0;
    if (control.index != index) return false;
  }
  return true;
}
static_assert(SlotsMatchTable(), "ctl and the control table disagree");

constexpr runtime::FormLayout kFrmMain{
    .name = "frmMain",
    .title = "Tolvane",
    .clientWidth = 6765,
    .clientHeight = 6045,
    .backColor = kPanelGrey,
    .fontName = "Calibri",
    .fontPoints = 9,
    .iconXpm = tolvane_icon_xpm,
    .controls = kControls,
};

}  // namespace

const runtime::FormLayout& FrmMainLayout() {
  return kFrmMain;
}

}  // namespace tolvane::window
