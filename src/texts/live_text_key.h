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
};
inline constexpr std::size_t kLiveTextKeyCount = static_cast<std::size_t>(LiveTextKey::GUANYU_BANQUAN) + 1;

// The key's name as it appears in the language file.
std::u16string_view LiveTextKeyName(LiveTextKey key);

}  // namespace vendrel::texts
