#include "window/frm_main_layout.h"

#include <array>

#include "window/tolvane_icon.xpm"

namespace tolvane::window {
namespace {

using runtime::ControlKind;
using runtime::ControlSpec;
using runtime::kOnForm;
using runtime::TextAlign;

constexpr ControlSpec CheckBoxSpec(std::string_view name, std::size_t container,
                                   std::string_view caption, int left, int top, int tab,
                                   int value) {
  return {.name = name,
          .kind = ControlKind::CheckBox,
          .container = container,
          .caption = caption,
          .bounds = {left, top, 2355, 225},
          .tabIndex = tab,
          .value = value,
          .backColor = kPanelGrey};
}

constexpr ControlSpec SetLabelSpec(std::string_view name, std::string_view caption, int top,
                                   int tab) {
  return {.name = name,
          .kind = ControlKind::Label,
          .container = ctl::frOptions,
          .caption = caption,
          .bounds = {90, top, 3975, 285},
          .tabIndex = tab,
          .align = TextAlign::Right,
          .backColor = kPanelGrey};
}

constexpr ControlSpec ComboSpec(std::string_view name, std::string_view spoken, int left, int tab) {
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

constexpr ControlSpec ResultSpec(int index) {
  return {.name = "txtResults",
          .index = index,
          .kind = ControlKind::TextBox,
          .container = ctl::frResults,
          .accessibleName = kResultNames[index - 1],
          .bounds = {90, 270 * index, 6405, 255},
          .tabIndex = 16 + index,
          .backColor = kFieldGrey};
}

constexpr std::array<ControlSpec, ctl::count> kControls{{
    {.name = "tmrSelect", .kind = ControlKind::Timer, .intervalMs = kTimerIntervalMs},
    CheckBoxSpec("chF", kOnForm, "РУС Строчные буквы", 4230, 1710, 15, 0),
    CheckBoxSpec("chE", kOnForm, "РУС Прописные буквы", 4230, 1440, 13, 0),
    {.name = "frResults",
     .kind = ControlKind::Frame,
     .caption = "Сгенерированные пароли",
     .bounds = {90, 2610, 6585, 3075},
     .tabIndex = 16,
     .backColor = kPanelGrey},
    ResultSpec(10),
    ResultSpec(9),
    ResultSpec(8),
    ResultSpec(7),
    ResultSpec(6),
    ResultSpec(5),
    ResultSpec(4),
    ResultSpec(3),
    ResultSpec(2),
    ResultSpec(1),
    {.name = "frOptions",
     .kind = ControlKind::Frame,
     .caption = "Настройки",
     .bounds = {90, 90, 6585, 2445},
     .tabIndex = 0,
     .backColor = kPanelGrey},
    ComboSpec("cmbSizeB", "Длина до", 5130, 3),
    CheckBoxSpec("chA", ctl::frOptions, "Цифры", 4140, 270, 5, 1),
    CheckBoxSpec("chB", ctl::frOptions, "ENG Прописные буквы", 4140, 540, 7, 1),
    CheckBoxSpec("chC", ctl::frOptions, "ENG Строчные буквы", 4140, 810, 9, 1),
    CheckBoxSpec("chD", ctl::frOptions, "Специальные символы", 4140, 1080, 11, 1),
    ComboSpec("cmbSizeA", "Длина от", 4140, 2),
    SetLabelSpec("lblF", "абвгдеёжзийклмнопрстуфхцчшщъыьэюя", 1620, 14),
    SetLabelSpec("lblE", "АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ", 1350, 12),
    SetLabelSpec("lblA", "0123456789", 270, 4),
    SetLabelSpec("lblB", "ABCDEFGHIJKLMNOPQRSTUVWXYZ", 540, 6),
    SetLabelSpec("lblC", "abcdefghijklmnopqrstuvwxyz", 810, 8),
    SetLabelSpec("lblD", "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~", 1080, 10),
    SetLabelSpec("lblSize", "Количество символов, \"от\" и \"до\"", 1980, 1),
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

constexpr runtime::FormSpec kFrmMain{
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

const runtime::FormSpec& FrmMainLayout() {
  return kFrmMain;
}

}  // namespace tolvane::window
