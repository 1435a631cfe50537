#include "app/shell_menus.h"

namespace vendrel::app {

TrayAction ClassifyTrayNotification(std::uintptr_t mouse_message) {
  switch (mouse_message) {
    case kWmRButtonUp: return TrayAction::ShowMenu;
    case kWmLButtonDblClk: return TrayAction::Open;
    default: return TrayAction::None;
  }
}

}  // namespace vendrel::app
