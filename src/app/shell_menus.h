#pragma once
// The items that replace, by position, the entries of the tray menu (140) and the main menu (144)
// each time one opens; their texts are read from the language file at that moment.
#include <array>
#include <cstdint>
#include <string_view>

#include "app/main_window_commands.h"
#include "texts/live_text_key.h"

namespace vendrel::app {

struct MenuItemSpec {
  int position;
  texts::LiveTextKey text;
  int command;
};

inline constexpr std::array<MenuItemSpec, 5> kMainMenuItems{{
    {0, texts::LiveTextKey::MENU_1, kCmdImport},
    {1, texts::LiveTextKey::MENU_2, kCmdExport},
    {2, texts::LiveTextKey::MENU_3, kCmdAbout},
    {3, texts::LiveTextKey::MENU_4, kCmdMenuClose},
    {4, texts::LiveTextKey::MENU_5, kCmdUpdate},
}};

inline constexpr std::array<MenuItemSpec, 3> kTrayMenuItems{{
    {0, texts::LiveTextKey::MENU_11, kCmdOpen},
    {1, texts::LiveTextKey::MENU_22, kCmdAbout},
    {2, texts::LiveTextKey::MENU_33, kCmdTrayExit},
}};

inline constexpr std::uint32_t kWmLButtonDblClk = 0x0203;
inline constexpr std::uint32_t kWmRButtonUp = 0x0205;

enum class TrayAction { None, ShowMenu, Open };

// The tray callback's second parameter carries the mouse message.
TrayAction ClassifyTrayNotification(std::uintptr_t mouse_message);

}  // namespace vendrel::app
