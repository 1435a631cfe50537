#include "app/win32/lighting_panel_view.h"

#include <iterator>
#include <vector>

#include "app/lighting_panel_controls.h"
#include "controls/wide_text.h"
#include "skin/placement.h"
#include "skin/ui/placement_ops.h"

namespace vendrel::app {
namespace {

using controls::WideFrom;

constexpr COLORREF kCaptionColour = RGB(0xE4, 0xE4, 0xE4);
constexpr int kCaptionHeightPx = 14;
constexpr int kSliderPage = 10;
constexpr wchar_t kOtherColourText[] = L"other";

// Every bitmap the panel shows, loaded once at start.
constexpr std::u16string_view kPanelBitmaps[] = {
    u"dengup.bmp",     u"dengdown.bmp",   u"leftup.bmp",     u"leftdown.bmp",
    u"rightup.bmp",    u"rightdown.bmp",  u"upup.bmp",       u"updown.bmp",
    u"downup.bmp",     u"downdown.bmp",   u"kuosan.bmp",     u"kuosandown.bmp",
    u"julong.bmp",     u"julongdown.bmp", u"hong.bmp",       u"hongok.bmp",
    u"huang.bmp",      u"huangok.bmp",    u"lv.bmp",         u"lvok.bmp",
    u"lan.bmp",        u"lanok.bmp",      u"sjsup.bmp",      u"sjsdown.bmp",
    u"user1up.bmp",    u"user1down.bmp",  u"user2up.bmp",    u"user2down.bmp",
    u"jdt1.bmp",       u"jdt2.bmp",       u"jdt3.bmp",       u"jdt4.bmp",
    u"jdt5.bmp",       u"jdt6.bmp",       u"jdt7.bmp",       u"jdt8.bmp",
    u"jdt9.bmp",       u"jdt10.bmp",      u"0.bmp",          u"1.bmp",
    u"2.bmp",          u"3.bmp",          u"4.bmp",          u"5.bmp",
    u"6.bmp",          u"7.bmp",          u"8.bmp",          u"9.bmp",
    u"10.bmp",         u"11.bmp",
};

}  // namespace

CLightingPanel::CLightingPanel(HWND dialog, skin::CIniFile& skin,
                               const std::u16string& skin_folder, int language,
                               LightingKeyPicture& keys, LightingPanelServices& services,
                               LightingParts& parts)
    : dialog_(dialog),
      skin_(skin),
      keys_(keys),
      logic_(*this, services, parts.model, parts.colours) {
  bitmaps_.Load(skin_folder, kPanelBitmaps);
  CreateControls();
  ApplyCaptions(language);
  logic_.Init();
}

void CLightingPanel::CreateControls() {
  const auto attach = [this](int id, PanelControlKind kind) {
    switch (kind) {
      case PanelControlKind::Label: {
        auto label = std::make_unique<controls::TransparentLabel>();
        label->Attach(dialog_, id, kCaptionColour);
        if (label_font_) label->SetFont(label_font_.get());
        labels_[id] = std::move(label);
        break;
      }
      case PanelControlKind::Image: {
        auto image = std::make_unique<controls::ImageToggle>();
        image->Attach(dialog_, id);
        images_[id] = std::move(image);
        break;
      }
      case PanelControlKind::Slider: {
        auto slider = std::make_unique<controls::BitmapSlider>();
        slider->Attach(dialog_, id);
        slider->SetRange(0, lighting::kMaxLevel);
        slider->SetPageSize(kSliderPage);
        sliders_[id] = std::move(slider);
        break;
      }
      case PanelControlKind::ColourButton: {
        auto button = std::make_unique<controls::ColourButton>();
        button->Attach(dialog_, id);
        button->SetOtherLabel(kOtherColourText);
        colour_buttons_[id] = std::move(button);
        break;
      }
      case PanelControlKind::ModeCombo: mode_list_ = ::GetDlgItem(dialog_, id); break;
      case PanelControlKind::SlotCombo:
        slot_combo_.Attach(dialog_, id);
        slot_combo_.OnSelectionChanged([this](int index) {
          if (index >= 0) logic_.OnSlotSelected(index);
        });
        slot_combo_.OnTextChanged([this](const std::wstring& text) {
          logic_.OnSlotRenamed(std::u16string(text.begin(), text.end()));
        });
        break;
    }
  };
  label_font_.reset(::CreateFontW(-kCaptionHeightPx, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                  DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                  CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Tahoma"));
  for (const PanelControl& c : kPanelControls) {
    attach(c.id, c.kind);
    if (!c.layout_key.empty()) {
      skin::PlaceOnly(::GetDlgItem(dialog_, c.id), skin_, skin::kSectionButtonInfo, c.layout_key);
    }
  }
  for (const HiddenPanelControl& c : kHiddenPanelControls) {
    attach(c.id, c.kind);
    HWND control = ::GetDlgItem(dialog_, c.id);
    skin::PlaceOnly(control, skin_, skin::kSectionButtonInfo, c.layout_key);
    ::ShowWindow(control, SW_HIDE);
  }
}

void CLightingPanel::ApplyCaptions(int language) {
  const std::optional<std::u16string_view> section = CaptionSection(language);
  if (!section) return;  // another language value leaves the template's captions
  for (const PanelControl& c : kPanelControls) {
    if (c.caption_key.empty()) continue;
    const auto it = labels_.find(c.id);
    if (it == labels_.end()) continue;
    it->second->SetText(WideFrom(skin_.GetString(*section, c.caption_key, u"").value_or(u"")));
  }
}

bool CLightingPanel::OnCommand(int id, int code) {
  if (id == IDC_MODE_COMBO) {
    if (code == CBN_SELCHANGE) {
      logic_.OnModeSelected(static_cast<int>(::SendMessageW(mode_list_, CB_GETCURSEL, 0, 0)));
    }
    return true;
  }
  if (const auto it = colour_buttons_.find(id); it != colour_buttons_.end()) {
    if (code == controls::kColourButtonChanged) logic_.OnColourButton(id, it->second->Colour());
    return true;
  }
  if (code != BN_CLICKED) return false;
  switch (id) {
    case IDC_LIGHT_SWITCH: logic_.OnLightSwitchClicked(); return true;
    case IDC_DIRECTION_FIRST: logic_.OnDirection(true); return true;
    case IDC_DIRECTION_SECOND: logic_.OnDirection(false); return true;
    case IDC_MULTI_A_TOGGLE:
    case IDC_MULTI_B_TOGGLE: logic_.OnMulticolourToggle(); return true;
    case IDC_CHOICE_RED: logic_.OnColourChoice(0); return true;
    case IDC_CHOICE_YELLOW: logic_.OnColourChoice(1); return true;
    case IDC_CHOICE_GREEN: logic_.OnColourChoice(2); return true;
    case IDC_CHOICE_BLUE: logic_.OnColourChoice(3); return true;
    case IDC_TOOL_0: logic_.OnTool(0); return true;
    case IDC_TOOL_1: logic_.OnTool(1); return true;
    default: break;
  }
  for (std::size_t rate = 0; rate < kReportRateButtons.size(); ++rate) {
    if (kReportRateButtons[rate] == id) {
      logic_.OnReportRate(static_cast<int>(rate));
      return true;
    }
  }
  return false;
}

// ---- LightingPanelView ----------------------------------------------------------------------------

void CLightingPanel::ShowPanelControl(int id, bool visible) {
  if (HWND control = ::GetDlgItem(dialog_, id)) {
    if (const auto it = labels_.find(id); it != labels_.end()) {
      it->second->Show(visible);
      return;
    }
    ::ShowWindow(control, visible ? SW_SHOWNA : SW_HIDE);
  }
}

void CLightingPanel::SetPanelImage(int id, std::u16string_view bitmap) {
  if (const auto it = images_.find(id); it != images_.end()) {
    it->second->SetImage(bitmaps_.Get(bitmap));
  }
}

void CLightingPanel::SetSlider(int id, int position, std::u16string_view picture) {
  if (const auto it = sliders_.find(id); it != sliders_.end()) {
    it->second->SetPosition(position);
    it->second->SetPicture(bitmaps_.Get(picture));
  }
}

void CLightingPanel::SetModeEntries(const std::vector<lighting::ModeEntry>& entries) {
  if (mode_list_ == nullptr) return;
  ::SendMessageW(mode_list_, CB_RESETCONTENT, 0, 0);
  for (const lighting::ModeEntry& e : entries) {
    const std::wstring name = WideFrom(e.name);
    ::SendMessageW(mode_list_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
}

void CLightingPanel::SelectModeEntry(int combo_index) {
  if (mode_list_ != nullptr) {
    ::SendMessageW(mode_list_, CB_SETCURSEL, static_cast<WPARAM>(combo_index), 0);
  }
}

void CLightingPanel::SetColourButton(int id, lighting::Colour colour) {
  if (const auto it = colour_buttons_.find(id); it != colour_buttons_.end()) {
    it->second->SetColour(static_cast<COLORREF>(colour));
  }
}

void CLightingPanel::PressReportButton(int rate) { keys_.PressReportButton(rate); }

void CLightingPanel::SetSlotNames(const std::array<std::u16string, lighting::kSlotCount>& names) {
  std::vector<std::wstring> entries;
  for (const std::u16string& name : names) entries.push_back(WideFrom(name));
  slot_combo_.SetEntries(entries);
}

void CLightingPanel::SelectSlotEntry(int slot) { slot_combo_.Select(slot); }

void CLightingPanel::ReplaceSlotEntry(int slot, std::u16string_view text) {
  slot_combo_.ReplaceEntry(slot, WideFrom(text));
}

void CLightingPanel::PlaceControl(int id, std::u16string_view layout_key) {
  HWND control = ::GetDlgItem(dialog_, id);
  if (control == nullptr) return;
  skin::PlaceOnly(control, skin_, skin::kSectionButtonInfo, layout_key);
  ::InvalidateRect(control, nullptr, TRUE);
}

void CLightingPanel::ShowKeyColour(int control_id, lighting::Colour colour) {
  keys_.TintKey(control_id, static_cast<COLORREF>(colour));
}

void CLightingPanel::ShowNormalKeys() { keys_.UntintKeysAndRedraw(); }

}  // namespace vendrel::app
