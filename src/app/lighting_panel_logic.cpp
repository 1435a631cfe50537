#include "app/lighting_panel_logic.h"

#include <algorithm>

#include "app/lighting_panel_controls.h"
#include "keys/key_table.h"

namespace vendrel::app {
namespace {

using lighting::ColourGroup;
using lighting::DirectionLayout;
using lighting::ModeTraits;

constexpr int kBrightnessPictureBase = 0;
constexpr int kSpeedPictureBase = 6;
constexpr int kProgressFrames = 10;

constexpr std::array<std::u16string_view, 4> kChoicePlain{u"hong.bmp", u"huang.bmp", u"lv.bmp",
                                                          u"lan.bmp"};
constexpr std::array<std::u16string_view, 4> kChoiceChosen{u"hongok.bmp", u"huangok.bmp",
                                                           u"lvok.bmp", u"lanok.bmp"};
constexpr std::array<int, 4> kChoiceIds{IDC_CHOICE_RED, IDC_CHOICE_YELLOW, IDC_CHOICE_GREEN,
                                        IDC_CHOICE_BLUE};

// Which group of the visibility table a control belongs to.
enum class Group { Always, Speed, Direction, ColourA, ColourB, Choice, Slots };

struct SwitchedControl {
  int id;
  Group group;
};

constexpr SwitchedControl kSwitched[] = {
    {IDC_MODE_COMBO, Group::Always},         {IDC_BRIGHTNESS_LABEL, Group::Always},
    {IDC_BRIGHTNESS_SLIDER, Group::Always},  {IDC_SPEED_LABEL, Group::Speed},
    {IDC_SPEED_SLIDER, Group::Speed},        {IDC_DIRECTION_LABEL, Group::Direction},
    {IDC_DIRECTION_FIRST, Group::Direction}, {IDC_DIRECTION_SECOND, Group::Direction},
    {IDC_COLOUR_A_LABEL, Group::ColourA},    {IDC_COLOUR_A_BUTTON, Group::ColourA},
    {IDC_MULTI_A_TOGGLE, Group::ColourA},    {IDC_MULTI_A_LABEL, Group::ColourA},
    {IDC_COLOUR_B_LABEL, Group::ColourB},    {IDC_COLOUR_B_BUTTON, Group::ColourB},
    {IDC_MULTI_B_TOGGLE, Group::ColourB},    {IDC_MULTI_B_LABEL, Group::ColourB},
    {IDC_CHOICE_RED, Group::Choice},         {IDC_CHOICE_YELLOW, Group::Choice},
    {IDC_CHOICE_GREEN, Group::Choice},       {IDC_CHOICE_BLUE, Group::Choice},
    {IDC_PAINT_LABEL, Group::Slots},         {IDC_PAINT_BUTTON, Group::Slots},
    {IDC_BASE_LABEL, Group::Slots},          {IDC_BASE_BUTTON, Group::Slots},
    {IDC_TOOL_LABEL, Group::Slots},          {IDC_TOOL_0, Group::Slots},
    {IDC_TOOL_1, Group::Slots},              {IDC_SLOT_COMBO, Group::Slots},
};

bool GroupVisible(Group group, const std::optional<ModeTraits>& traits) {
  if (!traits) return false;
  switch (group) {
    case Group::Always: return true;
    case Group::Speed: return traits->speed;
    case Group::Direction: return traits->direction != DirectionLayout::None;
    case Group::ColourA: return traits->colour == ColourGroup::A;
    case Group::ColourB: return traits->colour == ColourGroup::B;
    case Group::Choice: return traits->colour_choice;
    case Group::Slots: return traits->per_key;
  }
  return false;
}

// The layout set that places the direction controls; modes without a direction keep set 2.
DirectionLayout LayoutOfMode(int mode) {
  const std::optional<ModeTraits> traits = lighting::TraitsOf(mode);
  if (traits && traits->direction != DirectionLayout::None) return traits->direction;
  return DirectionLayout::Set2;
}

}  // namespace

std::optional<std::u16string_view> CaptionSection(int language) {
  if (language == 0) return u"Control_Name";
  if (language == 1) return u"Control_Name1";
  return std::nullopt;
}

std::u16string SliderPicture(int slider_id, int position) {
  const int base = slider_id == IDC_SPEED_SLIDER ? kSpeedPictureBase : kBrightnessPictureBase;
  const int clamped = std::clamp(position, 0, lighting::kMaxLevel);
  std::u16string name;
  for (const char c : std::to_string(base + clamped)) name.push_back(static_cast<char16_t>(c));
  return name + u".bmp";
}

DirectionPlaces DirectionPlacesOf(DirectionLayout layout) {
  switch (layout) {
    case DirectionLayout::Set1:
      return {u"CONTROL_BLFXStatic", u"CONTROL_BLFXLStaPic", u"CONTROL_BLFXRStaPic"};
    case DirectionLayout::Set3:
      return {u"CONTROL_BLFXStatic3", u"CONTROL_BLFXLStaPic3", u"CONTROL_BLFXRStaPic3"};
    case DirectionLayout::Set2:
    case DirectionLayout::None: break;
  }
  return {u"CONTROL_BLFXStatic2", u"CONTROL_BLFXLStaPic2", u"CONTROL_BLFXRStaPic2"};
}

DirectionImages DirectionImagesOf(int mode, int direction) {
  const bool first = direction == lighting::kDirectionFirst;
  switch (LayoutOfMode(mode)) {
    case DirectionLayout::Set1:
      return first ? DirectionImages{u"kuosandown.bmp", u"julong.bmp"}
                   : DirectionImages{u"kuosan.bmp", u"julongdown.bmp"};
    case DirectionLayout::Set3:
      return first ? DirectionImages{u"updown.bmp", u"downup.bmp"}
                   : DirectionImages{u"upup.bmp", u"downdown.bmp"};
    case DirectionLayout::Set2:
    case DirectionLayout::None: break;
  }
  return first ? DirectionImages{u"leftdown.bmp", u"rightup.bmp"}
               : DirectionImages{u"leftup.bmp", u"rightdown.bmp"};
}

bool VisibleForMode(int control_id, int mode) {
  const std::optional<ModeTraits> traits = lighting::TraitsOf(mode);
  for (const SwitchedControl& c : kSwitched) {
    if (c.id != control_id) continue;
    // The mode list stays whenever the switch is on: a mode the program does not know must not
    // leave the user without the means to pick another.
    if (c.id == IDC_MODE_COMBO) return true;
    return GroupVisible(c.group, traits);
  }
  return false;
}

const std::vector<int>& SwitchedPanelControls() {
  static const std::vector<int> ids = [] {
    std::vector<int> out;
    for (const SwitchedControl& c : kSwitched) out.push_back(c.id);
    return out;
  }();
  return ids;
}

LightingPanelLogic::LightingPanelLogic(LightingPanelView& view, LightingPanelServices& services,
                                       lighting::LightingModel& model,
                                       lighting::PerKeyColours& colours)
    : view_(view), services_(services), model_(model), colours_(colours) {}

void LightingPanelLogic::Init() {
  view_.SetSlider(IDC_BRIGHTNESS_SLIDER, 0, SliderPicture(IDC_BRIGHTNESS_SLIDER, 0));
  view_.SetSlider(IDC_SPEED_SLIDER, 0, SliderPicture(IDC_SPEED_SLIDER, 0));
  view_.SetPanelImage(IDC_PROGRESS, u"jdt1.bmp");
  view_.ShowPanelControl(IDC_PROGRESS, false);
  model_.ReadLightSwitch();
  Refresh();
}

int LightingPanelLogic::SelectedMode() const {
  return combo_selection_ < 0 ? 0 : model_.ModeOfComboIndex(combo_selection_);
}

void LightingPanelLogic::SelectCombo(int combo_index) {
  combo_selection_ = combo_index;
  view_.SelectModeEntry(combo_index);
}

void LightingPanelLogic::Refresh() {
  const lighting::LightingState& s = model_.State();
  model_.BuildModeList();
  view_.SetModeEntries(s.mode_map);
  combo_selection_ = -1;
  view_.PressReportButton(s.report_rate);
  ShowSliders();
  ShowColours();
  ShowColourChoice();
  ShowSlotControls();
  SelectCombo(model_.ComboIndexOfMode(s.mode));
  view_.SetPanelImage(IDC_LIGHT_SWITCH, s.light_switch ? u"dengdown.bmp" : u"dengup.bmp");
  if (s.light_switch) {
    ApplyVisibility(s.mode);
  } else {
    HideSwitchedControls();
  }
  ShowDirection();
  ShowKeysForMode();
}

void LightingPanelLogic::ShowSliders() {
  const lighting::LightingState& s = model_.State();
  view_.SetSlider(IDC_BRIGHTNESS_SLIDER, s.brightness,
                  SliderPicture(IDC_BRIGHTNESS_SLIDER, s.brightness));
  const int speed_position = lighting::LightingModel::SpeedPosition(s.speed);
  view_.SetSlider(IDC_SPEED_SLIDER, speed_position, SliderPicture(IDC_SPEED_SLIDER, speed_position));
}

void LightingPanelLogic::ShowColours() {
  const lighting::LightingState& s = model_.State();
  view_.SetColourButton(IDC_COLOUR_A_BUTTON, s.colour);
  view_.SetColourButton(IDC_COLOUR_B_BUTTON, s.colour);
  const std::u16string_view toggle = s.multicolour ? u"sjsdown.bmp" : u"sjsup.bmp";
  view_.SetPanelImage(IDC_MULTI_A_TOGGLE, toggle);
  view_.SetPanelImage(IDC_MULTI_B_TOGGLE, toggle);
}

void LightingPanelLogic::ShowColourChoice() {
  int choice = model_.State().colour_choice;
  if (choice < 0 || choice > lighting::kMaxColourChoice) choice = 0;  // the restore's 8 shows red
  for (int i = 0; i < static_cast<int>(kChoiceIds.size()); ++i) {
    view_.SetPanelImage(kChoiceIds[i], i == choice ? kChoiceChosen[i] : kChoicePlain[i]);
  }
}

void LightingPanelLogic::ShowDirection() {
  const lighting::LightingState& s = model_.State();
  const DirectionImages images = DirectionImagesOf(s.mode, s.direction);
  view_.SetPanelImage(IDC_DIRECTION_FIRST, images.first);
  view_.SetPanelImage(IDC_DIRECTION_SECOND, images.second);
  const DirectionPlaces places = DirectionPlacesOf(LayoutOfMode(s.mode));
  view_.PlaceControl(IDC_DIRECTION_LABEL, places.label);
  view_.PlaceControl(IDC_DIRECTION_FIRST, places.first);
  view_.PlaceControl(IDC_DIRECTION_SECOND, places.second);
}

void LightingPanelLogic::ShowSlotControls() {
  const lighting::SlotState& slot = colours_.Slot();
  view_.SelectSlotEntry(slot.active_slot);
  view_.SetColourButton(IDC_PAINT_BUTTON, slot.paint);
  view_.SetColourButton(IDC_BASE_BUTTON, slot.base);
  view_.SetPanelImage(IDC_TOOL_0, slot.tool == 0 ? u"user1down.bmp" : u"user1up.bmp");
  view_.SetPanelImage(IDC_TOOL_1, slot.tool == 0 ? u"user2up.bmp" : u"user2down.bmp");
}

void LightingPanelLogic::ApplyVisibility(int mode) {
  for (const int id : SwitchedPanelControls()) view_.ShowPanelControl(id, VisibleForMode(id, mode));
}

void LightingPanelLogic::HideSwitchedControls() {
  for (const int id : SwitchedPanelControls()) view_.ShowPanelControl(id, false);
}

void LightingPanelLogic::ShowColoursOnKeys() {
  const int profile = model_.State().current_profile;
  for (const keys::KeyButton& key : keys::KeyButtonTable()) {
    view_.ShowKeyColour(key.control_id, colours_.ControlColour(profile, key.control_id));
  }
  for (const int g : keys::kGKeyControlIds) {
    view_.ShowKeyColour(g, colours_.ControlColour(profile, g));
  }
  view_.ShowKeyColour(keys::kFnControlId, colours_.ControlColour(profile, keys::kFnControlId));
  keys_coloured_ = true;
}

// The picture shows the per-key colours exactly while the switch is on in mode 20.
void LightingPanelLogic::ShowKeysForMode() {
  if (LightSwitchOn() && SelectedMode() == lighting::kModePerKey) {
    ShowColoursOnKeys();
  } else if (keys_coloured_) {
    view_.ShowNormalKeys();
    keys_coloured_ = false;
  }
}

void LightingPanelLogic::RefreshPerKeySlots() {
  const int profile = model_.State().current_profile;
  view_.SetSlotNames(colours_.SlotNames(profile));
  colours_.LoadActiveSlot(profile);
}

void LightingPanelLogic::LoadOnConnect(int active_profile) {
  model_.SetCurrentProfile(active_profile);
  model_.Load([this] {
    if (model_.PerKeySupported()) RefreshPerKeySlots();
  });
  Refresh();
}

void LightingPanelLogic::ShowProfile(int profile) {
  if (profile < 0 || profile >= lighting::kProfileCount) return;
  model_.SetCurrentProfile(profile);
  model_.Load();
  if (model_.PerKeySupported()) RefreshPerKeySlots();
  Refresh();
  if (LightSwitchOn()) SwitchLightOff();
}

void LightingPanelLogic::Reload() {
  model_.Load();
  Refresh();
}

void LightingPanelLogic::RestoreDefaults() {
  const int default_index = model_.ComboIndexOfMode(lighting::kModeDefault);
  SelectCombo(default_index);
  if (default_index >= 0) model_.SelectMode(default_index);
  if (LightSwitchOn()) {
    model_.SetLightSwitch(true);
    view_.SetPanelImage(IDC_LIGHT_SWITCH, u"dengdown.bmp");
    ApplyVisibility(SelectedMode());
  } else {
    SwitchLightOff();
  }
  model_.TakeDefaultValues();
  view_.PressReportButton(model_.State().report_rate);
  ShowSliders();
  ShowColours();
  ShowColourChoice();
  ShowDirection();
  if (model_.PerKeySupported()) {
    const int profile = model_.State().current_profile;
    colours_.ResetFromTemplate(profile);
    view_.SetSlotNames(colours_.SlotNames(profile));
    ShowSlotControls();
  }
  ShowKeysForMode();
  model_.WriteDefaultBlock();
}

void LightingPanelLogic::SwitchLightOff() {
  model_.SetLightSwitch(false);
  view_.SetPanelImage(IDC_LIGHT_SWITCH, u"dengup.bmp");
  view_.ShowNormalKeys();
  keys_coloured_ = false;
  HideSwitchedControls();
}

void LightingPanelLogic::OnLightSwitchClicked() {
  if (LightSwitchOn()) {
    SwitchLightOff();
    return;
  }
  if (!services_.SwitchScene(services_.KeyboardActiveProfile())) return;
  model_.SetLightSwitch(true);
  view_.SetPanelImage(IDC_LIGHT_SWITCH, u"dengdown.bmp");
  ApplyVisibility(SelectedMode());
  ShowKeysForMode();
  view_.SetColourButton(IDC_BASE_BUTTON, colours_.Slot().base);
}

void LightingPanelLogic::OnModeSelected(int combo_index) {
  combo_selection_ = combo_index;
  if (!model_.SelectMode(combo_index)) return;  // a mode the program does not know: nothing written
  if (LightSwitchOn()) ApplyVisibility(model_.State().mode);
  ShowDirection();
  ShowKeysForMode();
}

void LightingPanelLogic::OnSlider(int slider_id, int position) {
  const int clamped = std::clamp(position, 0, lighting::kMaxLevel);
  view_.SetSlider(slider_id, clamped, SliderPicture(slider_id, clamped));
  if (slider_id == IDC_BRIGHTNESS_SLIDER) {
    model_.SetBrightness(clamped);
  } else if (slider_id == IDC_SPEED_SLIDER) {
    model_.SetSpeed(clamped);
  }
}

void LightingPanelLogic::OnDirection(bool first) {
  model_.SetDirection(first);
  ShowDirection();
}

void LightingPanelLogic::OnColourButton(int button_id, lighting::Colour colour) {
  const int profile = model_.State().current_profile;
  switch (button_id) {
    case IDC_COLOUR_A_BUTTON:
    case IDC_COLOUR_B_BUTTON:
      model_.SetColour(colour);
      ShowColours();
      return;
    case IDC_PAINT_BUTTON:
      colours_.SetPaintColour(profile, colour);
      view_.SetColourButton(IDC_PAINT_BUTTON, colour);
      return;
    case IDC_BASE_BUTTON:
      for (const lighting::KeyRecolour& key : colours_.SetBaseColour(profile, colour)) {
        if (keys_coloured_) view_.ShowKeyColour(key.control_id, key.colour);
      }
      view_.SetColourButton(IDC_BASE_BUTTON, colours_.Slot().base);
      return;
    default: return;
  }
}

void LightingPanelLogic::OnMulticolourToggle() {
  model_.ToggleMulticolour();
  ShowColours();
}

void LightingPanelLogic::OnColourChoice(int choice) {
  model_.SetColourChoice(choice);
  ShowColourChoice();
}

void LightingPanelLogic::OnReportRate(int rate) {
  model_.SetReportRate(rate);
  view_.PressReportButton(model_.State().report_rate);
}

void LightingPanelLogic::OnTool(int tool) {
  colours_.SetTool(model_.State().current_profile, tool);
  ShowSlotControls();
}

void LightingPanelLogic::OnSlotSelected(int slot) {
  colours_.SelectSlot(model_.State().current_profile, slot);
  ShowSlotControls();
  ShowKeysForMode();
}

void LightingPanelLogic::OnSlotRenamed(const std::u16string& text) {
  const int slot = colours_.Slot().active_slot;
  view_.ReplaceSlotEntry(slot, text);
  colours_.RenameSlot(model_.State().current_profile, text);
}

bool LightingPanelLogic::OnKeyClick(int control_id) {
  if (!LightSwitchOn() || !lighting::PerKeyColours::IsPaintable(control_id)) return false;
  if (SelectedMode() != lighting::kModePerKey) return true;  // painting is for mode 20 only
  const std::optional<lighting::Colour> painted =
      colours_.PaintKey(model_.State().current_profile, control_id);
  if (painted) view_.ShowKeyColour(control_id, *painted);
  return true;
}

void LightingPanelLogic::ShowProgress(bool visible) {
  if (visible) view_.SetPanelImage(IDC_PROGRESS, u"jdt1.bmp");
  view_.ShowPanelControl(IDC_PROGRESS, visible);
}

void LightingPanelLogic::ShowProgressFrame(int frame) {
  const int f = ((frame % kProgressFrames) + kProgressFrames) % kProgressFrames;
  std::u16string name = u"jdt";
  for (const char c : std::to_string(f + 1)) name.push_back(static_cast<char16_t>(c));
  view_.SetPanelImage(IDC_PROGRESS, name + u".bmp");
}

}  // namespace vendrel::app
