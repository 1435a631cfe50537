#include "texts/text_key.h"

#include <iterator>

namespace vendrel::texts {
namespace {

struct TextDefinition {
  TextKey key;
  std::u16string_view name;
  std::u16string_view built_in;
};

constexpr std::u16string_view kPlaceholder = u"Hello world";
constexpr std::u16string_view kMediaPlaceholder = u"hello world";
constexpr std::u16string_view kPromptPlaceholder = u"hello";

constexpr TextDefinition kTexts[] = {
    {TextKey::MACRO_ACTION_RECORD_DELAY, u"MACRO_ACTION_RECORD_DELAY", u"RecordDelay"},
    {TextKey::MACRO_NEW_PREFIX, u"MACRO_NEW_PREFIX", u"Macro"},
    {TextKey::MACRO_ERR_MAX, u"MACRO_ERR_MAX", u"The maximum number of macro: %d   "},
    {TextKey::MACRO_ERR_SAME, u"MACRO_ERR_SAME", u"Same macro name!   "},
    {TextKey::MACRO_ERR_NAME_SYSTEM, u"MACRO_ERR_NAME_SYSTEM", u"This macro is used in the system! "},
    {TextKey::MACRO_DEFAULT_NAME, u"MACRO_DEFAULT_NAME", u"Empty Macro"},
    {TextKey::MACRO_ERR_RECORD, u"MACRO_ERR_RECORD", u"Please stop the macro record first! "},
    {TextKey::MACRO_KEYS_TISHI, u"MACRO_KEYS_TISHI", kPromptPlaceholder},
    {TextKey::MACRO_ACTION_TISHI, u"MACRO_ACTION_TISHI", kPromptPlaceholder},
    {TextKey::MACRO_DELAY_MS, u"MACRO_DELAY_MS", kPromptPlaceholder},
    {TextKey::MACRO_ACTION_CLEAR_CONFIRM, u"MACRO_ACTION_CLEAR_CONFIRM", u"Really need to clear the macro action? "},
    {TextKey::MACRO_ACTION_ERR_MODIFY, u"MACRO_ACTION_ERR_MODIFY", u"You can not edit, use the macro record button. "},
    {TextKey::MACRO_ACTION_ERR_DELAY_MIN, u"MACRO_ACTION_ERR_DELAY_MIN", u"Minimum delay time is: %d(ms) "},
    {TextKey::MACRO_ACTION_ERR_DELAY_MAX, u"MACRO_ACTION_ERR_DELAY_MAX", u"Maximum delay time is: %d(ms) "},
    {TextKey::MACRO_ACTION_RECORD, u"MACRO_ACTION_RECORD", u"Record"},
    {TextKey::MACRO_ACTION_STOP_RECORD, u"MACRO_ACTION_STOP_RECORD", u"Stop Record"},
    {TextKey::EXTRA_MACRO_TOO_LONG, u"EXTRA_MACRO_TOO_LONG",
     u"Macro space exceeds the hardware space.\r\n Please reduce the number of macros or macro "
     u"action number\uFF0Cand then download."},
    {TextKey::UNKNOWN_KEY, u"UNKNOWN_KEY", u"Unknown Key: %03x"},
    {TextKey::MEDIA_PALYER_1, u"MEDIA_PALYER_1", kMediaPlaceholder},
    {TextKey::MEDIA_PALY_PAUSE_2, u"MEDIA_PALY_PAUSE_2", kMediaPlaceholder},
    {TextKey::MEDIA_STOP_PALY_3, u"MEDIA_STOP_PALY_3", kMediaPlaceholder},
    {TextKey::MEDIA_PREV_TRACK_4, u"MEDIA_PREV_TRACK_4", kMediaPlaceholder},
    {TextKey::MEDIA_Next_TRACK_5, u"MEDIA_Next_TRACK_5", kMediaPlaceholder},
    {TextKey::MEDIA_V_LOW_6, u"MEDIA_V_LOW_6", kMediaPlaceholder},
    {TextKey::MEDIA_V_ADD_7, u"MEDIA_V_ADD_7", kMediaPlaceholder},
    {TextKey::MEDIA_MUTE_8, u"MEDIA_MUTE_8", kMediaPlaceholder},
    {TextKey::MEDIA_WWW_HOME_9, u"MEDIA_WWW_HOME_9", kMediaPlaceholder},
    {TextKey::MEDIA_WWW_REFRESH_10, u"MEDIA_WWW_REFRESH_10", kMediaPlaceholder},
    {TextKey::MEDIA_WWW_STOP_11, u"MEDIA_WWW_STOP_11", kMediaPlaceholder},
    {TextKey::MEDIA_WWW_BACK_12, u"MEDIA_WWW_BACK_12", kMediaPlaceholder},
    {TextKey::MEDIA_WWW_FORWARD_13, u"MEDIA_WWW_FORWARD_13", kMediaPlaceholder},
    {TextKey::MEDIA_WWW_FAVORITE_14, u"MEDIA_WWW_FAVORITE_14", kMediaPlaceholder},
    {TextKey::MEDIA_WWW_SEARCH_15, u"MEDIA_WWW_SEARCH_15", kMediaPlaceholder},
    {TextKey::MEDIA_MY_PC_16, u"MEDIA_MY_PC_16", kMediaPlaceholder},
    {TextKey::MEDIA_CALC_17, u"MEDIA_CALC_17", kMediaPlaceholder},
    {TextKey::MEDIA_MAIL_18, u"MEDIA_MAIL_18", kMediaPlaceholder},
    {TextKey::FUNC_KEY_DESC1, u"FUNC_KEY_DESC1", u"Open"},
    {TextKey::FUNC_KEY_DESC2, u"FUNC_KEY_DESC2", u"New"},
    {TextKey::FUNC_KEY_DESC3, u"FUNC_KEY_DESC3", u"Undo"},
    {TextKey::FUNC_KEY_DESC4, u"FUNC_KEY_DESC4", u"Save"},
    {TextKey::FUNC_KEY_DESC5, u"FUNC_KEY_DESC5", u"Copy"},
    {TextKey::FUNC_KEY_DESC6, u"FUNC_KEY_DESC6", u"Cut"},
    {TextKey::FUNC_KEY_DESC7, u"FUNC_KEY_DESC7", u"Paste"},
    {TextKey::FUNC_KEY_DESC8, u"FUNC_KEY_DESC8", u"Find"},
    {TextKey::FUNC_KEY_DESC9, u"FUNC_KEY_DESC9", u"Select All"},
    {TextKey::FUNC_KEY_DESC10, u"FUNC_KEY_DESC10", u"Zoom-"},
    {TextKey::FUNC_KEY_DESC11, u"FUNC_KEY_DESC11", u"Zoom+"},
    {TextKey::APPLY_PROMPT, u"APPLY_PROMPT", kPlaceholder},
    {TextKey::MACRO_DELETE_CONFIRM_OF_KEYS, u"MACRO_DELETE_CONFIRM_OF_KEYS",
     u"Detect some key points to set this macro, \n  really need to remove this macro?  "},
    {TextKey::KEY_PROMPT, u"KEY_PROMPT", kPlaceholder},
    {TextKey::KEY_PROMPT_SET, u"KEY_PROMPT_SET", u"Keys, Set: "},
    {TextKey::KEY_PROMPT_SINGLE, u"KEY_PROMPT_SINGLE", u"Key("},
    {TextKey::KEY_PROMPT_MACRO, u"KEY_PROMPT_MACRO", u"Macro("},
    {TextKey::KEY_PROMPT_MEDIA, u"KEY_PROMPT_MEDIA", u"Media("},
    {TextKey::KEY_PROMPT_FUNCTION, u"KEY_PROMPT_FUNCTION", u"Function("},
    {TextKey::DEFAULT_PROFILE_NAME, u"DEFAULT_PROFILE_NAME", u"<Default Profile>"},
    {TextKey::PROFILE_SELECT_PROMPT, u"PROFILE_SELECT_PROMPT", u"Whether to save the profile settings made?"},
    {TextKey::PROFILE_SEELCT_PROMPT2, u"PROFILE_SEELCT_PROMPT2",
     u"When fast switch scene mode, you must first close the editor dialog box."},
    {TextKey::PROFILE_SELECT_PROMPT3, u"PROFILE_SELECT_PROMPT3", kPlaceholder},
    {TextKey::PROFILE_LOAD_PROMPT, u"PROFILE_LOAD_PROMPT", kPlaceholder},
    {TextKey::PROFILE_CHECK_PROMPT, u"PROFILE_CHECK_PROMPT", kPlaceholder},
    {TextKey::PROFILE_FORMAT_ERROR, u"PROFILE_FORMAT_ERROR", u"wrong file format, revert to the default values: \n  %s"},
    {TextKey::PROFILE_NEW, u"PROFILE_NEW", u"\\The new contextual  mode"},
    {TextKey::PROFILE_TIP, u"PROFILE_TIP", u"The current contextual  mode: "},
    {TextKey::PROFILE_EDITING, u"PROFILE_EDITING", kPlaceholder},
    {TextKey::EXTRA_PROFILE_SPACE_TIGHT, u"EXTRA_PROFILE_SPACE_TIGHT",
     u"shortage of hardware space, cancelled the macro name of storage."},
    {TextKey::MAIN_UPDATE_ERROR_TEXT, u"MAIN_UPDATE_ERROR_TEXT", u"\u8BF7\u9009\u62E9\u6B63\u786E\u7684\u66F4\u65B0\u6587\u4EF6! "},
    {TextKey::MAIN_BOOT_ERROR_TEXT, u"MAIN_BOOT_ERROR_TEXT", u"\u65E0\u6CD5\u8FDB\u5165Boot\u6A21\u5F0F! "},
    {TextKey::MAIN_SHELL_ERROR_TEXT, u"MAIN_SHELL_ERROR_TEXT", u"\u65E0\u6CD5\u6267\u884C\u66F4\u65B0\u6587\u4EF6! "},
    {TextKey::MAIN_UPDATE_BACKUP_OK, u"MAIN_UPDATE_BACKUP_OK", u"\u5907\u4EFD\u6210\u529F!"},
    {TextKey::MAIN_UPDATE_BACKUP_NG, u"MAIN_UPDATE_BACKUP_NG", u"\u5907\u4EFD\u5931\u8D25,\u8BF7\u91CD\u65B0\u5907\u4EFD!"},
    {TextKey::KEYBOARD_TRAY_DESC, u"KEYBOARD_TRAY_DESC", u"Tarnwick"},
    {TextKey::MAIN_CAPTION, u"MAIN_CAPTION", u"Gaming Keyboard Settings"},
    {TextKey::MAIN_HELP_PROMPT, u"MAIN_HELP_PROMPT", u"Help"},
    {TextKey::MAIN_MINIMIZE_PROMPT, u"MAIN_MINIMIZE_PROMPT", u"Minimize"},
    {TextKey::MAIN_MENU_PROMPT, u"MAIN_MENU_PROMPT", u"Menu"},
    {TextKey::MAIN_CLOSE_PROMPT, u"MAIN_CLOSE_PROMPT", u"Close"},
    {TextKey::MAIN_BUTTON_KORVEL_VER, u"MAIN_BUTTON_KORVEL_VER", u""},
    {TextKey::MAIN_PROMPT_DEFAULT, u"MAIN_PROMPT_DEFAULT", u"Do you want to restore the default settings?"},
    {TextKey::MAIN_PROMPT_INPORT, u"MAIN_PROMPT_INPORT", u"File format error, import failed! "},
    {TextKey::MAIN_SWITCH_FUNCTION_TEXT, u"MAIN_SWITCH_FUNCTION_TEXT", u"Switch to the color keys mode"},
    {TextKey::MAIN_SWITCH_COLOR_TEXT, u"MAIN_SWITCH_COLOR_TEXT", u"Switch to the function keys mode"},
    {TextKey::MAIN_DEFAULT_MATRIX_PROMPT, u"MAIN_DEFAULT_MATRIX_PROMPT", kPlaceholder},
    {TextKey::MAIN_NO_DEVICE_PROMPT, u"MAIN_NO_DEVICE_PROMPT",
     u"Device is not detected\uFF0Cthe key settings can not be displayed! "},
    {TextKey::MACRO_KEY_UNSENDABLE, u"MACRO_KEY_UNSENDABLE",
     u"The macro \"%s\" holds the key \"%s\", which cannot be played by the keyboard. "
     u"Remove it from the macro or choose another key."},
    {TextKey::KEYBOARD_READ_FAILED, u"KEYBOARD_READ_FAILED",
     u"The keyboard's settings could not be read. Your settings on the keyboard were left unchanged. "
     u"Unplug the keyboard, plug it in again, and try again."},
    {TextKey::KEYBOARD_WRITE_FAILED, u"KEYBOARD_WRITE_FAILED",
     u"The settings could not be written to the keyboard. Your changes are kept; check the keyboard's "
     u"connection and press Apply again."},
    {TextKey::KEYBOARD_READ_AGAIN, u"KEYBOARD_READ_AGAIN",
     u"The keyboard's settings have now been read and are shown. Changes made while they were unknown "
     u"were not written; make them again and press Apply."},
    {TextKey::EXTRA_PROFILE_ROW_NOT_ON_KEYBOARD, u"EXTRA_PROFILE_ROW_NOT_ON_KEYBOARD",
     u"The keyboard has three profiles: only one of the first three rows can be the active one."},
    {TextKey::EXTRA_PROFILE_FILE_NOT_CREATED, u"EXTRA_PROFILE_FILE_NOT_CREATED",
     u"The settings file could not be written there; no row was added."},
};
static_assert(std::size(kTexts) == kTextKeyCount, "one definition per key");

constexpr bool DefinitionsInKeyOrder() {
  for (std::size_t i = 0; i < std::size(kTexts); ++i) {
    if (static_cast<std::size_t>(kTexts[i].key) != i) return false;
  }
  return true;
}
static_assert(DefinitionsInKeyOrder(), "definitions are indexed by key");

}  // namespace

std::u16string_view TextKeyName(TextKey key) { return kTexts[static_cast<std::size_t>(key)].name; }

std::u16string_view BuiltInText(TextKey key) {
  return kTexts[static_cast<std::size_t>(key)].built_in;
}

}  // namespace vendrel::texts
