#include "texts/live_text_key.h"

#include <array>
#include <cstddef>

namespace vendrel::texts {
namespace {

// Indexed by key.
constexpr std::array<std::u16string_view, kLiveTextKeyCount> kNames = {
    u"PROFILE_1",      u"PROFILE_2",      u"PROFILE_3",     u"PROFILE_MACRO", u"PROFILE_DEFAULT",
    u"PROFILE_OK",     u"PROFILE_CANCLE", u"PROFILE_APPLY", u"MENU_1",        u"MENU_2",
    u"MENU_3",         u"MENU_4",         u"MENU_11",       u"MENU_22",       u"MENU_33",
    u"GUANYU_JIESHAO", u"GUANYU_BANQUAN", u"SINGLE_KEY",    u"MACRO_SETTING", u"MULTI_MEDIA",
    u"FUNCTION_KEY",   u"A_TOP",          u"A_UP",          u"A_DOWN",        u"A_BOTTOM",
    u"A_RECORD",       u"A_DELETE",       u"A_CLEAR",       u"MACRO_OK",      u"MACRO_CANCLE",
    u"MACRO_CYCLES",   u"RECORD_DELAY",   u"SINGLE_STATIC", u"MACRO_NAME_SETTING",
    u"KEY_SETTING_TISHI", u"MACRO_EDIT_TISHI", u"MEDIA_EDIT_TISHI", u"FUNCTION_TISHI",
    u"COMPOSITE_PROMPT_CLEAR", u"COMPOSITE_PROMPT_OSK", u"MENU_5",
};

}  // namespace

std::u16string_view LiveTextKeyName(LiveTextKey key) {
  return kNames[static_cast<std::size_t>(key)];
}

std::u16string_view LiveTextBuiltIn(LiveTextKey key) {
  switch (key) {
    case LiveTextKey::MACRO_CYCLES: return u"Cycles";
    case LiveTextKey::RECORD_DELAY: return u"Record Delay";
    case LiveTextKey::COMPOSITE_PROMPT_CLEAR: return u"Restore the default functiong of buttons";
    case LiveTextKey::COMPOSITE_PROMPT_OSK: return u"Open the on-screen keyboard";
    case LiveTextKey::MENU_5: return u"Update / Backup";
    default: return {};
  }
}

}  // namespace vendrel::texts
