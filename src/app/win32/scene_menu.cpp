#include "app/win32/scene_menu.h"

#include "controls/wide_text.h"

namespace vendrel::app {

void CSceneMenu::Rebuild(const ProfileMenu& menu) {
  if (!menu_) menu_.reset(::CreatePopupMenu());
  if (!menu_) return;
  while (::GetMenuItemCount(menu_.get()) > 0) ::RemoveMenu(menu_.get(), 0, MF_BYPOSITION);
  for (const ProfileMenuItem& item : menu.items) {
    if (item.command == 0) {
      ::AppendMenuW(menu_.get(), MF_SEPARATOR, 0, nullptr);
    } else {
      ::AppendMenuW(menu_.get(), MF_STRING, static_cast<UINT_PTR>(item.command),
                    controls::WideFrom(item.text).c_str());
    }
  }
  ::CheckMenuItem(menu_.get(), static_cast<UINT>(menu.checked), MF_BYPOSITION | MF_CHECKED);
}

void CSceneMenu::Show(HWND owner) const {
  if (!menu_) return;
  ::SetForegroundWindow(owner);
  POINT at{};
  ::GetCursorPos(&at);
  ::TrackPopupMenu(menu_.get(), TPM_LEFTALIGN | TPM_LEFTBUTTON, at.x, at.y, 0, owner, nullptr);
  ::PostMessageW(owner, WM_NULL, 0, 0);  // lets the menu close on a click elsewhere
}

}  // namespace vendrel::app
