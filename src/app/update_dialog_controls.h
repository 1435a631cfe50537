#pragma once
// The controls of the update and backup dialog: where each is placed from BUTTONINFO of
// Skins\UpdateDlg.ini, and the captions its buttons carry.
#include <array>
#include <string_view>

#include "app/resource_ids.h"

namespace vendrel::app {

struct UpdateDialogControl {
  std::u16string_view skin_key;
  int id;
  std::u16string_view caption;  // buttons; empty for the label and the list
  bool button;
};

inline constexpr std::array<UpdateDialogControl, 6> kUpdateDialogControls{{
    {u"CONTROL_UPStatic", IDC_UPD_PATH, u"", false},
    {u"CONTROL_UPCombox", IDC_UPD_PROGRAMS, u"", false},  // kept hidden and empty
    {u"CONTROL_OPENButton", IDC_UPD_OPEN, u"Open", true},
    {u"CONTROL_UPButton", IDC_UPD_START, u"\u66F4\u65B0", true},
    {u"CONTROL_CUPButton", IDC_UPD_CANCEL, u"\u53D6\u6D88\u66F4\u65B0", true},
    {u"CONTROL_BACKUPButton", IDC_UPD_BACKUP, u"\u5907\u4EFD", true},
}};

// The buttons' pictures: normal and under the pointer.
inline constexpr std::u16string_view kUpdateNormalSheet = u"update_normal.jpg";
inline constexpr std::u16string_view kUpdateOverSheet = u"update_over.jpg";

}  // namespace vendrel::app
