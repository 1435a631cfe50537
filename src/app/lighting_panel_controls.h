#pragma once
// The lighting panel's controls on the main window: id, kind, where BUTTONINFO of the main skin
// places each, and which Control_Name / Control_Name1 key gives its caption. The direction label
// and images take their place from the layout set of the mode instead.
#include <array>
#include <string_view>

#include "app/resource_ids.h"

namespace vendrel::app {

enum class PanelControlKind { Label, Image, ModeCombo, Slider, ColourButton, SlotCombo };

struct PanelControl {
  int id;
  PanelControlKind kind;
  std::u16string_view layout_key;   // empty: placed by the mode's layout set
  std::u16string_view caption_key;  // empty: no caption
};

inline constexpr std::array<PanelControl, 32> kPanelControls{{
    {IDC_LIGHT_LABEL, PanelControlKind::Label, u"CONTROL_DengStatic", u"Deng"},
    {IDC_LIGHT_SWITCH, PanelControlKind::Image, u"CONTROL_DengStaPic", u""},
    {IDC_MODE_COMBO, PanelControlKind::ModeCombo, u"CONTROL_XGcombox", u""},
    {IDC_BRIGHTNESS_LABEL, PanelControlKind::Label, u"CONTROL_LightStatic", u"Light"},
    {IDC_BRIGHTNESS_SLIDER, PanelControlKind::Slider, u"CONTROL_LightSlider", u""},
    {IDC_SPEED_LABEL, PanelControlKind::Label, u"CONTROL_SpeedStatic", u"Speed"},
    {IDC_SPEED_SLIDER, PanelControlKind::Slider, u"CONTROL_SpeedSlider", u""},
    {IDC_DIRECTION_LABEL, PanelControlKind::Label, u"", u"FX"},
    {IDC_DIRECTION_FIRST, PanelControlKind::Image, u"", u""},
    {IDC_DIRECTION_SECOND, PanelControlKind::Image, u"", u""},
    {IDC_COLOUR_A_LABEL, PanelControlKind::Label, u"CONTROL_FYYSStatic", u"Color"},
    {IDC_COLOUR_A_BUTTON, PanelControlKind::ColourButton, u"CONTROL_FYYSButton", u""},
    {IDC_MULTI_A_TOGGLE, PanelControlKind::Image, u"CONTROL_FYSJSStaPic", u""},
    {IDC_MULTI_A_LABEL, PanelControlKind::Label, u"CONTROL_FYSJSStatic", u"DC"},
    {IDC_COLOUR_B_LABEL, PanelControlKind::Label, u"CONTROL_HXysStatic", u"Color"},
    {IDC_COLOUR_B_BUTTON, PanelControlKind::ColourButton, u"CONTROL_HXysButton", u""},
    {IDC_MULTI_B_TOGGLE, PanelControlKind::Image, u"CONTROL_HXsjsStaPic", u""},
    {IDC_MULTI_B_LABEL, PanelControlKind::Label, u"CONTROL_HXsjsStatic", u"DC"},
    {IDC_CHOICE_RED, PanelControlKind::Image, u"CONTROL_HONGPIC", u""},
    {IDC_CHOICE_YELLOW, PanelControlKind::Image, u"CONTROL_HUANGPIC", u""},
    {IDC_CHOICE_GREEN, PanelControlKind::Image, u"CONTROL_LVPIC", u""},
    {IDC_CHOICE_BLUE, PanelControlKind::Image, u"CONTROL_LANPIC", u""},
    {IDC_PAINT_LABEL, PanelControlKind::Label, u"CONTROL_USERysStatic", u"Color"},
    {IDC_PAINT_BUTTON, PanelControlKind::ColourButton, u"CONTROL_USERysButton", u""},
    {IDC_BASE_LABEL, PanelControlKind::Label, u"CONTROL_USERjsStatic", u"JColor"},
    {IDC_BASE_BUTTON, PanelControlKind::ColourButton, u"CONTROL_USERjsButton", u""},
    {IDC_TOOL_LABEL, PanelControlKind::Label, u"CONTROL_USERgjStatic", u"Tool"},
    {IDC_TOOL_0, PanelControlKind::Image, u"CONTROL_USERgjStaPic1", u""},
    {IDC_TOOL_1, PanelControlKind::Image, u"CONTROL_USERgjStaPic2", u""},
    {IDC_SLOT_COMBO, PanelControlKind::SlotCombo, u"CONTROL_umCombo", u""},
    {IDC_REPORT_LABEL, PanelControlKind::Label, u"CONTROL_UsbStatic", u"Usb"},
    {IDC_PROGRESS, PanelControlKind::Image, u"CONTROL_JDTStatic", u""},
}};

// Effect options the panel never offers: laid out, so the template matches the skin, and hidden.
struct HiddenPanelControl {
  int id;
  PanelControlKind kind;
  std::u16string_view layout_key;
};
inline constexpr std::array<HiddenPanelControl, 15> kHiddenPanelControls{{
    {IDC_COLOUR_C_LABEL, PanelControlKind::Label, u"CONTROL_JTysStatic"},
    {IDC_COLOUR_C_BUTTON, PanelControlKind::ColourButton, u"CONTROL_JTysButton"},
    {IDC_TRIGGER_LABEL, PanelControlKind::Label, u"CONTROL_FYCFStatic"},
    {IDC_TRIGGER_PRESS_LABEL, PanelControlKind::Label, u"CONTROL_FYdjcfStatic"},
    {IDC_TRIGGER_AMBIENT_LABEL, PanelControlKind::Label, u"CONTROL_FYggcfStatc"},
    {IDC_TRIGGER_PRESS_TOGGLE, PanelControlKind::Image, u"CONTROL_FYdjcfStaPic"},
    {IDC_TRIGGER_AMBIENT_TOGGLE, PanelControlKind::Image, u"CONTROL_FYggcfStaPic"},
    {IDC_COLOUR_D_LABEL, PanelControlKind::Label, u"CONTROL_TSysStatic"},
    {IDC_COLOUR_D_BUTTON, PanelControlKind::ColourButton, u"CONTROL_TSysButton"},
    {IDC_MULTI_D_LABEL, PanelControlKind::Label, u"CONTROL_TSsjsStatic"},
    {IDC_MULTI_D_TOGGLE, PanelControlKind::Image, u"CONTROL_TSsjsStaPic"},
    {IDC_COLOUR_E_LABEL, PanelControlKind::Label, u"CONTROL_CDysStatic"},
    {IDC_COLOUR_E_BUTTON, PanelControlKind::ColourButton, u"CONTROL_CDysButton"},
    {IDC_MULTI_E_LABEL, PanelControlKind::Label, u"CONTROL_CDsjsStatic"},
    {IDC_MULTI_E_TOGGLE, PanelControlKind::Image, u"CONTROL_CDsjsStaPic"},
}};

// The report-rate buttons 0..3 (shell buttons of the main window).
inline constexpr std::array<int, 4> kReportRateButtons{IDC_REPORT_1, IDC_REPORT_2, IDC_REPORT_3,
                                                       IDC_REPORT_4};

}  // namespace vendrel::app
