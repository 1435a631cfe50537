#pragma once
// The scene menu: "<Default Profile>", a separator and one entry per keyboard profile, the entry of
// the active profile checked, and the profile button's caption and tooltip that name it. Built
// anew after every switch; the commands run the switch of their profile.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "texts/text_source.h"

namespace vendrel::app {

inline constexpr int kSceneCommandDefault = 9000;  // the switch without a change of profile
inline constexpr int kSceneCommandFirstProfile = 9001;
inline constexpr int kSceneCommandLast = 9200;

struct ProfileMenuItem {
  int command;  // 0: a separator
  std::u16string text;

  friend bool operator==(const ProfileMenuItem&, const ProfileMenuItem&) = default;
};

struct ProfileMenu {
  std::vector<ProfileMenuItem> items;
  std::size_t checked;     // position of the checked item
  std::u16string caption;  // the profile button's: the checked item's text
  std::u16string tooltip;
};

// The file name of a path without its folder and extension.
std::u16string FileTitle(std::u16string_view path);

// active_profile: 0..2, or anything else when it is not known (then "<Default Profile>" is checked).
ProfileMenu BuildProfileMenu(const texts::TextSource& texts, std::u16string_view cache_file_path,
                             int active_profile);

// The profile a scene menu command switches to: -1 for the default entry; nothing for a command
// that is not the menu's.
std::optional<int> SceneOfCommand(int command);

}  // namespace vendrel::app
