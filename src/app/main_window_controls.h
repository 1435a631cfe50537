#pragma once
// The main window's own controls placed from BUTTONINFO of the main skin: skin key, control id
// and which sheet fills each of the five image slots (normal, hover, pressed, disabled, selected;
// N normal, H hover, P pressed, D disabled sheet). The keyboard's key, G and Fn buttons are
// placed from the key table.
#include <array>
#include <string>
#include <string_view>

namespace vendrel::app {

struct ShellControl {
  std::u16string_view skin_key;
  int id;
  std::string_view slots;
};

inline constexpr std::array<ShellControl, 28> kShellControls{{
    {u"KORVEL_LINK", 1121, "NHDNN"},
    {u"FUNC_PROFILES", 1005, "NHPNN"},
    {u"FUNC_MACRO", 1007, "NHPNN"},
    {u"CONTROL_OK", 1, "NHPNN"},
    {u"CONTROL_CANCEL", 2, "NHPNN"},
    {u"CONTROL_HELP", 1122, "NHPNN"},
    {u"CONTROL_CLOSE", 1124, "NHPNN"},
    {u"CONTROL_MINIMIZE", 1123, "NHPNN"},
    {u"CONTROL_MENU", 1139, "NHPNN"},
    {u"CONTROL2_APPLY", 1006, "NHPDN"},
    {u"LOCK_CAPS", 1125, "NNNNH"},
    {u"LOCK_NUM", 1126, "NNNNH"},
    {u"LOCK_SCROLL", 1127, "NNNNH"},
    {u"LOCK_AB", 1128, "NNNNH"},
    {u"FLIP_0", 1129, "NNNND"},
    {u"FLIP_1", 1130, "NHPND"},
    {u"FLIP_2", 1131, "NHPND"},
    {u"KORVEL_VER", 1134, "NNNNN"},
    {u"FUNC_PROFILE1", 1135, "NHPND"},
    {u"FUNC_PROFILE2", 1136, "NHPND"},
    {u"FUNC_PROFILE3", 1137, "NHPND"},
    {u"FUNC_DEFAULT", 1138, "NHPND"},
    {u"FUNC_SWITCH", 1144, "NHPND"},
    {u"FUNC_REPORT1", 1147, "NHPND"},
    {u"FUNC_REPORT2", 1168, "NHPND"},
    {u"FUNC_REPORT3", 1169, "NHPND"},
    {u"FUNC_REPORT4", 1170, "NHPND"},
    {u"KEY_FN", 1174, "NHPND"},
}};

// The two arrow decorations beside the flip buttons; they show a region of Arrow.jpg.
inline constexpr int kIdLeftArrow = 1132;
inline constexpr int kIdRightArrow = 1133;

// Buttons labelled with a language text read when the window applies its labels.
struct LabelledControl {
  int id;
  std::string_view text_key;
};
inline constexpr std::array<LabelledControl, 8> kLabelledControls{{
    {1135, "PROFILE_1"},
    {1136, "PROFILE_2"},
    {1137, "PROFILE_3"},
    {1007, "PROFILE_MACRO"},
    {1138, "PROFILE_DEFAULT"},
    {1, "PROFILE_OK"},
    {2, "PROFILE_CANCLE"},
    {1006, "PROFILE_APPLY"},
}};

// Buttons with a tooltip text.
inline constexpr std::array<LabelledControl, 4> kTooltipControls{{
    {1122, "MAIN_HELP_PROMPT"},
    {1123, "MAIN_MINIMIZE_PROMPT"},
    {1139, "MAIN_MENU_PROMPT"},
    {1124, "MAIN_CLOSE_PROMPT"},
}};

// "KEY_%03X" of a key slot (upper-case hexadecimal), "FUNC_G%d" of a G key (1..9).
std::u16string KeySkinKey(unsigned slot);
std::u16string GKeySkinKey(int g);

}  // namespace vendrel::app
