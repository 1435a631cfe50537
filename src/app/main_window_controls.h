#pragma once
// The main window's own controls placed from BUTTONINFO of the main skin: skin key, control id
// and which sheet fills each of the five image slots (normal, hover, pressed, disabled, selected;
// N normal, H hover, P pressed, D disabled sheet). The keyboard's key, G and Fn buttons are
// placed from the key table.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "app/main_window_commands.h"
#include "keys/key_table.h"
#include "texts/live_text_key.h"
#include "texts/text_key.h"

namespace vendrel::app {

struct ShellControl {
  std::u16string_view skin_key;
  int id;
  std::string_view slots;
};

inline constexpr std::array<ShellControl, 29> kShellControls{{
    {u"KORVEL_LINK", kIdLink, "NHDNN"},
    {u"FUNC_PROFILES", kIdProfiles, "NHPNN"},
    {u"FUNC_MACRO", kIdMacroEdit, "NHPNN"},
    {u"CONTROL_OK", kIdOk, "NHPNN"},
    {u"CONTROL_CANCEL", kIdCancel, "NHPNN"},
    {u"CONTROL_HELP", kIdHelp, "NHPNN"},
    {u"CONTROL_CLOSE", kIdClose, "NHPNN"},
    {u"CONTROL_MINIMIZE", kIdMinimise, "NHPNN"},
    {u"CONTROL_MENU", kIdMenu, "NHPNN"},
    {u"CONTROL2_APPLY", kIdApply, "NHPDN"},
    {u"LOCK_CAPS", kIdLockCaps, "NNNNH"},
    {u"LOCK_NUM", kIdLockNum, "NNNNH"},
    {u"LOCK_SCROLL", kIdLockScroll, "NNNNH"},
    {u"LOCK_AB", kIdBankIndicator, "NNNNH"},
    {u"FLIP_0", kIdFlip0, "NNNND"},
    {u"FLIP_1", kIdFlip1, "NHPND"},
    {u"FLIP_2", kIdFlip2, "NHPND"},
    {u"KORVEL_VER", kIdVersion, "NNNNN"},
    {u"FUNC_PROFILE1", kIdProfile1, "NHPND"},
    {u"FUNC_PROFILE2", kIdProfile2, "NHPND"},
    {u"FUNC_PROFILE3", kIdProfile3, "NHPND"},
    {u"FUNC_DEFAULT", kIdDefault, "NHPND"},
    {u"FUNC_SWITCH", kIdColourSwitch, "NHPND"},
    {u"FUNC_REPORT1", kIdReport1, "NHPND"},
    {u"FUNC_REPORT2", kIdReport2, "NHPND"},
    {u"FUNC_REPORT3", kIdReport3, "NHPND"},
    {u"FUNC_REPORT4", kIdReport4, "NHPND"},
    {u"KEY_FN", keys::kFnControlId, "NHPND"},
    {u"FUNC_SCENE_MENU", kIdSceneMenu, "NHPNN"},
}};

// Buttons labelled with a language text read when the window applies its labels.
struct LabelledControl {
  int id;
  texts::LiveTextKey text;
};
inline constexpr std::array<LabelledControl, 8> kLabelledControls{{
    {kIdProfile1, texts::LiveTextKey::PROFILE_1},
    {kIdProfile2, texts::LiveTextKey::PROFILE_2},
    {kIdProfile3, texts::LiveTextKey::PROFILE_3},
    {kIdMacroEdit, texts::LiveTextKey::PROFILE_MACRO},
    {kIdDefault, texts::LiveTextKey::PROFILE_DEFAULT},
    {kIdOk, texts::LiveTextKey::PROFILE_OK},
    {kIdCancel, texts::LiveTextKey::PROFILE_CANCLE},
    {kIdApply, texts::LiveTextKey::PROFILE_APPLY},
}};

// Buttons with a tooltip text.
struct TooltipControl {
  int id;
  texts::TextKey text;
};
inline constexpr std::array<TooltipControl, 4> kTooltipControls{{
    {kIdHelp, texts::TextKey::MAIN_HELP_PROMPT},
    {kIdMinimise, texts::TextKey::MAIN_MINIMIZE_PROMPT},
    {kIdMenu, texts::TextKey::MAIN_MENU_PROMPT},
    {kIdClose, texts::TextKey::MAIN_CLOSE_PROMPT},
}};

// "KEY_%03X" of a key slot (upper-case hexadecimal), "FUNC_G%d" of a G key (1..9).
std::u16string KeySkinKey(unsigned slot);
std::u16string GKeySkinKey(int g);

// The ids the dialog template reserves for key buttons; those that carry no key of the table
// (D1..D6, 1057) are placed as an absent key.
inline constexpr int kFirstKeyButtonId = 1010;
inline constexpr int kLastKeyButtonId = 1120;
inline constexpr std::u16string_view kAbsentKeySkinKey = u"KEY_NONE";

// Where a key, absent-key or G button takes its place and images from (BUTTONINFO).
struct KeyButtonPlacement {
  int id;
  std::u16string skin_key;
};

// Every key button of the key table, then every id of the key range without a key (ascending),
// then G1..G9.
std::vector<KeyButtonPlacement> KeyButtonPlacements();

}  // namespace vendrel::app
