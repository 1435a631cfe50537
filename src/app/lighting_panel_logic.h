#pragma once
// The lighting panel of the main window, apart from Win32: the refresh that brings every control in
// line with the lighting state, which controls each mode shows, the light switch, the handlers of
// the panel's controls, painting keys on the keyboard picture, the lighting part of "restore
// defaults" and the re-reads on connection and when the keyboard changed its lighting itself.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lighting/colour.h"
#include "lighting/colour_file.h"
#include "lighting/lighting_model.h"
#include "lighting/mode_list.h"
#include "lighting/mode_table.h"
#include "lighting/per_key_colours.h"

namespace vendrel::app {

class LightingPanelView {
 public:
  virtual ~LightingPanelView() = default;

  virtual void ShowPanelControl(int id, bool visible) = 0;
  // The bitmap file of the skin folder an image control shows (e.g. u"dengdown.bmp").
  virtual void SetPanelImage(int id, std::u16string_view bitmap) = 0;
  virtual void SetSlider(int id, int position, std::u16string_view picture) = 0;
  virtual void SetModeEntries(const std::vector<lighting::ModeEntry>& entries) = 0;
  virtual void SelectModeEntry(int combo_index) = 0;  // -1: no selection
  virtual void SetColourButton(int id, lighting::Colour colour) = 0;
  virtual void PressReportButton(int rate) = 0;  // that button pressed, the other three released
  virtual void SetSlotNames(const std::array<std::u16string, lighting::kSlotCount>& names) = 0;
  virtual void SelectSlotEntry(int slot) = 0;  // a slot outside the list: no selection
  // The slot's entry takes the text the user is typing; the edit field keeps its text and caret.
  virtual void ReplaceSlotEntry(int slot, std::u16string_view text) = 0;
  // Moves a control to the BUTTONINFO place of the skin key.
  virtual void PlaceControl(int id, std::u16string_view layout_key) = 0;
  // The key button shows its colour on the keyboard picture.
  virtual void ShowKeyColour(int control_id, lighting::Colour colour) = 0;
  // Every key button without a colour, redrawn from the store.
  virtual void ShowNormalKeys() = 0;
};

class LightingPanelServices {
 public:
  virtual ~LightingPanelServices() = default;
  // Makes the profile the keyboard's active one, asking the user about unsaved settings; false when
  // the switch did not happen.
  virtual bool SwitchScene(int profile) = 0;
  virtual int KeyboardActiveProfile() = 0;  // -1 when unknown
};

// Which caption section of the main skin a language value reads; nothing leaves the captions
// as they are.
std::optional<std::u16string_view> CaptionSection(int language);

// The bitmap of a slider position: brightness p.bmp, speed (6 + p).bmp.
std::u16string SliderPicture(int slider_id, int position);
// The BUTTONINFO keys of the direction label, first and second image for a layout set.
struct DirectionPlaces {
  std::u16string_view label;
  std::u16string_view first;
  std::u16string_view second;
};
DirectionPlaces DirectionPlacesOf(lighting::DirectionLayout layout);
// The images of the two direction controls for a mode and direction.
struct DirectionImages {
  std::u16string_view first;
  std::u16string_view second;
};
DirectionImages DirectionImagesOf(int mode, int direction);
// Whether a panel control is shown for a mode while the light switch is on.
bool VisibleForMode(int control_id, int mode);
// The controls the visibility table decides on.
const std::vector<int>& SwitchedPanelControls();

class LightingPanelLogic {
 public:
  // Every reference must outlive this object.
  LightingPanelLogic(LightingPanelView& view, LightingPanelServices& services,
                     lighting::LightingModel& model, lighting::PerKeyColours& colours);

  // Once, after the controls were placed: slider pictures and the hidden progress image.
  void Init();
  void Refresh();
  // When the keyboard connects: its active profile becomes the panel's, the lighting is read
  // (the per-key colours sent first when the keyboard has them) and the panel refreshed.
  void LoadOnConnect(int active_profile);
  // A profile button: that profile (0..2) becomes the panel's, its lighting is read (its per-key
  // colours loaded and sent when the keyboard has them) and shown, and the light switch goes off.
  void ShowProfile(int profile);
  // When the keyboard changed its lighting itself.
  void Reload();
  // The lighting half of "restore defaults".
  void RestoreDefaults();

  // Handlers of the panel's controls.
  void OnLightSwitchClicked();
  void OnModeSelected(int combo_index);
  void OnSlider(int slider_id, int position);
  void OnDirection(bool first);
  void OnColourButton(int button_id, lighting::Colour colour);
  void OnMulticolourToggle();
  void OnColourChoice(int choice);
  void OnReportRate(int rate);
  void OnTool(int tool);
  void OnSlotSelected(int slot);
  void OnSlotRenamed(const std::u16string& text);
  // A click on the keyboard picture. True when the panel took it (the light switch is on and the
  // control is a key button or the Fn key); G keys and clicks while the switch is off are the
  // keyboard view's.
  bool OnKeyClick(int control_id);

  // The progress image during Apply.
  void ShowProgress(bool visible);
  void ShowProgressFrame(int frame);  // 0..9

  bool LightSwitchOn() const { return model_.State().light_switch; }
  int SelectedMode() const;  // the mode of the combo's selection, 0 when none

 private:
  void RefreshPerKeySlots();  // slot names, then the active slot loaded and sent
  void ShowSlotControls();
  void ShowSliders();
  void ShowColours();
  void ShowColourChoice();
  void ShowDirection();
  void ApplyVisibility(int mode);
  void HideSwitchedControls();
  void SwitchLightOff();
  void ShowColoursOnKeys();
  void ShowKeysForMode();
  void SelectCombo(int combo_index);

  LightingPanelView& view_;
  LightingPanelServices& services_;
  lighting::LightingModel& model_;
  lighting::PerKeyColours& colours_;
  int combo_selection_ = -1;
  bool keys_coloured_ = false;
};

}  // namespace vendrel::app
