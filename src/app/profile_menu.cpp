#include "app/profile_menu.h"

#include "keys/profile_key_table.h"

namespace vendrel::app {

std::u16string FileTitle(std::u16string_view path) {
  const std::size_t slash = path.find_last_of(u"\\/");
  std::u16string_view name = slash == std::u16string_view::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.find_last_of(u'.');
  if (dot != std::u16string_view::npos && dot > 0) name = name.substr(0, dot);
  return std::u16string(name);
}

ProfileMenu BuildProfileMenu(const texts::TextSource& texts, std::u16string_view cache_file_path,
                             int active_profile) {
  ProfileMenu menu;
  menu.items.push_back({kSceneCommandDefault, texts.Text(texts::TextKey::DEFAULT_PROFILE_NAME)});
  menu.items.push_back({0, u""});
  // One cache file holds every profile, so each entry carries its name.
  const std::u16string name = FileTitle(cache_file_path);
  for (int p = 0; p < static_cast<int>(keys::kDeviceProfileCount); ++p) {
    menu.items.push_back({kSceneCommandFirstProfile + p, name});
  }
  const bool known =
      active_profile >= 0 && active_profile < static_cast<int>(keys::kDeviceProfileCount);
  menu.checked = known ? static_cast<std::size_t>(active_profile) + 2 : 0;
  menu.caption = menu.items[menu.checked].text;
  menu.tooltip = texts.Text(texts::TextKey::PROFILE_TIP) + menu.caption;
  return menu;
}

std::optional<int> SceneOfCommand(int command) {
  if (command < kSceneCommandDefault || command > kSceneCommandLast) return std::nullopt;
  return command - kSceneCommandFirstProfile;
}

}  // namespace vendrel::app
