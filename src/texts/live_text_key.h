#pragma once
// The keys of the language texts that are read from the language file each time they are shown
// (labels, menu items, the about box), so an edited file shows without a restart.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vendrel::texts {

enum class LiveTextKey : std::uint8_t {
  PROFILE_1,
  PROFILE_2,
  PROFILE_3,
  PROFILE_MACRO,
  PROFILE_DEFAULT,
  PROFILE_OK,
  PROFILE_CANCLE,
  PROFILE_APPLY,
  MENU_1,
  MENU_2,
  MENU_3,
  MENU_4,
  MENU_11,
  MENU_22,
  MENU_33,
  GUANYU_JIESHAO,
  GUANYU_BANQUAN,
  // The key-setting dialog.
  SINGLE_KEY,
  MACRO_SETTING,
  MULTI_MEDIA,
  FUNCTION_KEY,
  A_TOP,
  A_UP,
  A_DOWN,
  A_BOTTOM,
  A_RECORD,
  A_DELETE,
  A_CLEAR,
  MACRO_OK,
  MACRO_CANCLE,
  MACRO_CYCLES,
  RECORD_DELAY,
  SINGLE_STATIC,
  MACRO_NAME_SETTING,
  KEY_SETTING_TISHI,
  MACRO_EDIT_TISHI,
  MEDIA_EDIT_TISHI,
  FUNCTION_TISHI,
  COMPOSITE_PROMPT_CLEAR,
  COMPOSITE_PROMPT_OSK,
  // The main menu's update and backup item.
  MENU_5,
};
inline constexpr std::size_t kLiveTextKeyCount =
    static_cast<std::size_t>(LiveTextKey::MENU_5) + 1;

// The key's name as it appears in the language file.
std::u16string_view LiveTextKeyName(LiveTextKey key);
// What the key reads when the language file has no text for it; empty for most.
std::u16string_view LiveTextBuiltIn(LiveTextKey key);

}  // namespace vendrel::texts
