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
    u"GUANYU_JIESHAO", u"GUANYU_BANQUAN",
};

}  // namespace

std::u16string_view LiveTextKeyName(LiveTextKey key) {
  return kNames[static_cast<std::size_t>(key)];
}

}  // namespace vendrel::texts
