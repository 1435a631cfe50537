#pragma once
// The scene menu as a popup of its own: created once, filled anew from the portable menu on every
// rebuild, shown at the cursor by the scene button; its commands reach the owner as WM_COMMAND.
#include <windows.h>

#include "app/profile_menu.h"
#include "controls/handles.h"

namespace vendrel::app {

class CSceneMenu {
 public:
  void Rebuild(const ProfileMenu& menu);
  void Show(HWND owner) const;

 private:
  controls::UniqueMenu menu_;
};

}  // namespace vendrel::app
