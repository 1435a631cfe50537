#pragma once
// CLightingPanel: the lighting panel's Win32 controls on the main window. It places them from the
// main skin, gives them their captions and bitmaps, shows what LightingPanelLogic decides, and
// passes the user's changes to that logic. The key buttons and report-rate buttons belong to the
// main window, which it reaches through LightingKeyPicture.
#include <windows.h>

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "app/lighting_panel_logic.h"
#include "app/lighting_parts.h"
#include "controls/bitmap_slider.h"
#include "controls/colour_button.h"
#include "controls/editable_drop_down.h"
#include "controls/handles.h"
#include "controls/image_toggle.h"
#include "controls/panel_bitmaps.h"
#include "controls/transparent_label.h"
#include "skin/ini_file.h"

namespace vendrel::app {

// What the panel asks of the main window's own buttons.
class LightingKeyPicture {
 public:
  virtual ~LightingKeyPicture() = default;
  virtual void TintKey(int control_id, std::optional<COLORREF> colour) = 0;
  virtual void UntintKeysAndRedraw() = 0;  // every key without a colour, captions from the store
  virtual void PressReportButton(int rate) = 0;
};

class CLightingPanel final : public LightingPanelView {
 public:
  // Every reference must outlive the panel.
  CLightingPanel(HWND dialog, skin::CIniFile& skin, const std::u16string& skin_folder,
                 int language, LightingKeyPicture& keys, LightingPanelServices& services,
                 LightingParts& parts);
  CLightingPanel(const CLightingPanel&) = delete;
  CLightingPanel& operator=(const CLightingPanel&) = delete;

  LightingPanelLogic& Logic() { return logic_; }
  HWND ModeList() const { return mode_list_; }

  // A WM_COMMAND of the main window; false when it is not the panel's.
  bool OnCommand(int id, int code);
  // Message 0x28D1 of a slider.
  void OnSliderMoved(int id, int position) { logic_.OnSlider(id, position); }

  // LightingPanelView
  void ShowPanelControl(int id, bool visible) override;
  void SetPanelImage(int id, std::u16string_view bitmap) override;
  void SetSlider(int id, int position, std::u16string_view picture) override;
  void SetModeEntries(const std::vector<lighting::ModeEntry>& entries) override;
  void SelectModeEntry(int combo_index) override;
  void SetColourButton(int id, lighting::Colour colour) override;
  void PressReportButton(int rate) override;
  void SetSlotNames(const std::array<std::u16string, lighting::kSlotCount>& names) override;
  void SelectSlotEntry(int slot) override;
  void ReplaceSlotEntry(int slot, std::u16string_view text) override;
  void PlaceControl(int id, std::u16string_view layout_key) override;
  void ShowKeyColour(int control_id, lighting::Colour colour) override;
  void ShowNormalKeys() override;

 private:
  void CreateControls();
  void ApplyCaptions(int language);

  HWND dialog_;
  skin::CIniFile& skin_;
  LightingKeyPicture& keys_;
  controls::PanelBitmaps bitmaps_;
  std::map<int, std::unique_ptr<controls::TransparentLabel>> labels_;
  std::map<int, std::unique_ptr<controls::ImageToggle>> images_;
  std::map<int, std::unique_ptr<controls::BitmapSlider>> sliders_;
  std::map<int, std::unique_ptr<controls::ColourButton>> colour_buttons_;
  controls::EditableDropDown slot_combo_;
  HWND mode_list_ = nullptr;
  controls::UniqueFont label_font_;
  LightingPanelLogic logic_;
};

}  // namespace vendrel::app
