#include "controls/popup_menu.h"

#include "controls/handles.h"

namespace vendrel::controls {

void ShowPopupMenu(HWND owner, int menu_resource, std::span<const PopupItem> items, PopupStyle style) {
  UniqueMenu menu(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(menu_resource)));
  HMENU popup = menu ? ::GetSubMenu(menu.get(), 0) : nullptr;
  if (popup == nullptr) return;
  for (const PopupItem& item : items) {
    ::ModifyMenuW(popup, static_cast<UINT>(item.position), MF_BYPOSITION | MF_STRING,
                  static_cast<UINT_PTR>(item.command), item.text.c_str());
  }
  const bool tray = style == PopupStyle::Tray;
  if (tray) {
    ::SetMenuDefaultItem(popup, 0, TRUE);
    ::SetForegroundWindow(owner);
  }
  POINT at{};
  ::GetCursorPos(&at);
  ::TrackPopupMenu(popup, TPM_LEFTALIGN | (tray ? TPM_RIGHTBUTTON : TPM_LEFTBUTTON), at.x, at.y, 0,
                   owner, nullptr);
  // Lets a tray menu close when the user clicks elsewhere.
  if (tray) ::PostMessageW(owner, WM_NULL, 0, 0);
}

}  // namespace vendrel::controls
