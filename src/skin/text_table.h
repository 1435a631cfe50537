#pragma once
// The process-wide language texts: one slot per key, each at most 259 characters, holding its
// built-in English value until the language file is loaded (language_file.h).
//
// Texts come from a file that anyone can edit, and several are format strings. They never reach
// a printf-style formatter: Format() fills them itself, and only when the text's conversions are
// those of its built-in value; any other text is shown as it stands, unformatted.
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace vendrel::skin {

// In loading order.
enum class TextKey : std::uint8_t {
  MACRO_ACTION_RECORD_DELAY,
  MACRO_NEW_PREFIX,
  MACRO_ERR_MAX,
  MACRO_ERR_SAME,
  MACRO_ERR_NAME_SYSTEM,
  MACRO_DEFAULT_NAME,
  MACRO_ERR_RECORD,
  MACRO_KEYS_TISHI,
  MACRO_ACTION_TISHI,
  MACRO_DELAY_MS,
  MACRO_ACTION_CLEAR_CONFIRM,
  MACRO_ACTION_ERR_MODIFY,
  MACRO_ACTION_ERR_DELAY_MIN,
  MACRO_ACTION_ERR_DELAY_MAX,
  MACRO_ACTION_RECORD,
  MACRO_ACTION_STOP_RECORD,
  EXTRA_MACRO_TOO_LONG,
  UNKNOWN_KEY,
  MEDIA_PALYER_1,
  MEDIA_PALY_PAUSE_2,
  MEDIA_STOP_PALY_3,
  MEDIA_PREV_TRACK_4,
  MEDIA_Next_TRACK_5,
  MEDIA_V_LOW_6,
  MEDIA_V_ADD_7,
  MEDIA_MUTE_8,
  MEDIA_WWW_HOME_9,
  MEDIA_WWW_REFRESH_10,
  MEDIA_WWW_STOP_11,
  MEDIA_WWW_BACK_12,
  MEDIA_WWW_FORWARD_13,
  MEDIA_WWW_FAVORITE_14,
  MEDIA_WWW_SEARCH_15,
  MEDIA_MY_PC_16,
  MEDIA_CALC_17,
  MEDIA_MAIL_18,
  FUNC_KEY_DESC1,
  FUNC_KEY_DESC2,
  FUNC_KEY_DESC3,
  FUNC_KEY_DESC4,
  FUNC_KEY_DESC5,
  FUNC_KEY_DESC6,
  FUNC_KEY_DESC7,
  FUNC_KEY_DESC8,
  FUNC_KEY_DESC9,
  FUNC_KEY_DESC10,
  FUNC_KEY_DESC11,
  APPLY_PROMPT,
  MACRO_DELETE_CONFIRM_OF_KEYS,
  KEY_PROMPT,
  KEY_PROMPT_SET,
  KEY_PROMPT_SINGLE,
  KEY_PROMPT_MACRO,
  KEY_PROMPT_MEDIA,
  KEY_PROMPT_FUNCTION,
  DEFAULT_PROFILE_NAME,
  PROFILE_SELECT_PROMPT,
  PROFILE_SEELCT_PROMPT2,
  PROFILE_SELECT_PROMPT3,
  PROFILE_LOAD_PROMPT,
  PROFILE_CHECK_PROMPT,
  PROFILE_FORMAT_ERROR,
  PROFILE_NEW,
  PROFILE_TIP,
  PROFILE_EDITING,
  EXTRA_PROFILE_SPACE_TIGHT,
  MAIN_UPDATE_ERROR_TEXT,
  MAIN_BOOT_ERROR_TEXT,
  MAIN_SHELL_ERROR_TEXT,
  MAIN_UPDATE_BACKUP_OK,
  MAIN_UPDATE_BACKUP_NG,
  KEYBOARD_TRAY_DESC,
  MAIN_CAPTION,
  MAIN_HELP_PROMPT,
  MAIN_MINIMIZE_PROMPT,
  MAIN_MENU_PROMPT,
  MAIN_CLOSE_PROMPT,
  MAIN_BUTTON_KORVEL_VER,
  MAIN_PROMPT_DEFAULT,
  MAIN_PROMPT_INPORT,
  MAIN_SWITCH_FUNCTION_TEXT,
  MAIN_SWITCH_COLOR_TEXT,
  MAIN_DEFAULT_MATRIX_PROMPT,
  MAIN_NO_DEVICE_PROMPT,
  MACRO_KEY_UNSENDABLE,
};
inline constexpr std::size_t kTextKeyCount = static_cast<std::size_t>(TextKey::MACRO_KEY_UNSENDABLE) + 1;

// Longest text a slot or a lookup holds, in UTF-16 units (the terminator not counted).
inline constexpr std::size_t kMaxTextLength = 259;

// The key's name as it appears in the language file.
std::u16string_view TextKeyName(TextKey key);
// The value a slot holds before loading.
std::u16string_view BuiltInText(TextKey key);

// An argument of Format(): a number for %d and %x, a text for %s.
using FormatArg = std::variant<std::int64_t, std::u16string_view>;

// Fills the conversions %d, %i, %u, %x, %X, %s and %c (flags '-' and '0', widths up to 99) and
// %%. Returns nothing when the format holds any other conversion or the arguments do not match.
bool FormatChecked(std::u16string_view format, std::initializer_list<FormatArg> args,
                   std::u16string& out);

// True when both texts take the same arguments in the same order: numbers (%d %i %u %x %X %c) and
// texts (%s); flags and widths may differ.
bool SameConversions(std::u16string_view a, std::u16string_view b);

class TextTable {
 public:
  TextTable();  // every slot at its built-in value

  const std::u16string& Text(TextKey key) const { return slots_[static_cast<std::size_t>(key)]; }
  // Stores text cut to kMaxTextLength units.
  void Set(TextKey key, std::u16string_view text);

  // The slot's text filled with args when its conversions are those of the built-in value;
  // otherwise the slot's text unformatted.
  std::u16string Format(TextKey key, std::initializer_list<FormatArg> args) const;

 private:
  std::array<std::u16string, kTextKeyCount> slots_;
};

// The table that the whole program reads; filled once at start-up before any window exists.
TextTable& ProcessTextTable();

}  // namespace vendrel::skin
