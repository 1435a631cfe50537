#pragma once
// Shows the first popup of a menu resource at the cursor, its items' texts replaced by position
// first; the chosen command reaches the owner as WM_COMMAND.
#include <windows.h>

#include <span>
#include <string>

namespace vendrel::controls {

struct PopupItem {
  int position;
  std::wstring text;
  int command;
};

enum class PopupStyle {
  Window,  // from a window's button: left-button choice
  Tray,    // from the tray: first item default, right-button choice, closes on a click elsewhere
};

void ShowPopupMenu(HWND owner, int menu_resource, std::span<const PopupItem> items, PopupStyle style);

}  // namespace vendrel::controls
