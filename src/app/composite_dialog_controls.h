#pragma once
// The controls of the key-setting dialog: where each is placed from BUTTONINFO of
// Skins\Composite.ini, which image set a button is cut from, on which tab it shows and which
// language text it carries.
#include <array>
#include <optional>
#include <string_view>

#include "app/composite_dialog_logic.h"
#include "app/resource_ids.h"
#include "texts/live_text_key.h"

namespace vendrel::app {

// The dialog's five image sets, each of four sheets (normal, over, down, disabled).
enum class CompositeImageSet { None, Key, Macro, Macro2, Media, Function };
inline constexpr std::size_t kCompositeImageSetCount = 5;
inline constexpr std::size_t kCompositeSheetStates = 4;
// Sheet files of set (Key..Function) and state; sets without a disabled sheet repeat the normal.
inline constexpr std::array<std::array<std::u16string_view, kCompositeSheetStates>,
                            kCompositeImageSetCount>
    kCompositeSheetFiles{{
        {u"key_normal.jpg", u"key_over.jpg", u"key_down.jpg", u"key_normal.jpg"},
        {u"macro_normal.jpg", u"macro_over.jpg", u"macro_down.jpg", u"macro_disable.jpg"},
        {u"macro2_normal.jpg", u"macro2_over.jpg", u"macro2_down.jpg", u"macro2_disable.jpg"},
        {u"media_normal.jpg", u"media_over.jpg", u"media_down.jpg", u"media_normal.jpg"},
        {u"function_normal.jpg", u"function_over.jpg", u"function_down.jpg", u"function_normal.jpg"},
    }};

// The set the mask over the input area shows for each tab.
inline constexpr CompositeImageSet MaskImageSet(CompositeTab tab) {
  switch (tab) {
    case CompositeTab::Macro: return CompositeImageSet::Macro;
    case CompositeTab::Media: return CompositeImageSet::Media;
    case CompositeTab::Function: return CompositeImageSet::Function;
    case CompositeTab::SingleKey: break;
  }
  return CompositeImageSet::Key;
}

struct CompositeControl {
  std::u16string_view skin_key;
  int id;
  CompositeImageSet images;     // None: placed only
  bool macro_edit_images;       // takes the macro2 set in macro-edit mode
  std::optional<CompositeTab> tab;  // shown only on that tab; none: always
};

inline constexpr std::array<CompositeControl, 33> kCompositeControls{{
    {u"CONTROL_TITLE", IDC_CMP_TITLE, CompositeImageSet::Key, true, std::nullopt},
    {u"CONTROL_KEY", IDC_CMP_TAB_KEY, CompositeImageSet::Key, true, std::nullopt},
    {u"CONTROL_MACRO", IDC_CMP_TAB_MACRO, CompositeImageSet::Key, false, std::nullopt},
    {u"CONTROL_MEDIA", IDC_CMP_TAB_MEDIA, CompositeImageSet::Key, true, std::nullopt},
    {u"CONTROL_FUNCTION", IDC_CMP_TAB_FUNCTION, CompositeImageSet::Key, true, std::nullopt},
    {u"CONTROL_CLEAR", IDC_CMP_CLEAR, CompositeImageSet::Key, true, std::nullopt},
    {u"CONTROL2_APPLY", IDC_CMP_APPLY, CompositeImageSet::Key, false, std::nullopt},
    {u"CONTROL_OK", 1, CompositeImageSet::Key, false, std::nullopt},
    {u"CONTROL_CANCEL", 2, CompositeImageSet::Key, false, std::nullopt},
    {u"CONTROL_OSK", IDC_CMP_OSK, CompositeImageSet::Key, false, CompositeTab::SingleKey},
    {u"KEY_SETTING", IDC_CMP_PROMPT, CompositeImageSet::None, false, std::nullopt},
    {u"TISHI_SINGLE_STATIC", IDC_CMP_KEY_LABEL, CompositeImageSet::None, false, CompositeTab::SingleKey},
    {u"FUNC_KEY_INPUT", IDC_CMP_KEY_FIELD, CompositeImageSet::None, false, CompositeTab::SingleKey},
    {u"MEDIA_SETTING_TISHI", IDC_CMP_MEDIA_LABEL, CompositeImageSet::None, false, CompositeTab::Media},
    {u"FUNC_MEDIA_SELECT", IDC_CMP_MEDIA_BOX, CompositeImageSet::None, false, CompositeTab::Media},
    {u"FUNCTION_KEY_SETTING_TISHI", IDC_CMP_FUNCTION_LABEL, CompositeImageSet::None, false, CompositeTab::Function},
    {u"FUNC_FUNCTION_SELECT", IDC_CMP_FUNCTION_BOX, CompositeImageSet::None, false, CompositeTab::Function},
    {u"MARCO_NAME_SETTING", IDC_CMP_MACRO_LABEL, CompositeImageSet::None, false, CompositeTab::Macro},
    {u"FUNC_MACRO_LIST2", IDC_CMP_MACRO_BOX, CompositeImageSet::None, false, CompositeTab::Macro},
    {u"FUNC_MACRO_ADD", IDC_CMP_MACRO_ADD, CompositeImageSet::Macro, false, CompositeTab::Macro},
    {u"FUNC_MACRO_DELETE", IDC_CMP_MACRO_DELETE, CompositeImageSet::Macro, false, CompositeTab::Macro},
    {u"FUNC_MACRO_CYCLES_PROMPT", IDC_CMP_CYCLES_LABEL, CompositeImageSet::None, false, CompositeTab::Macro},
    {u"FUNC_MACRO_CYCLES", IDC_CMP_CYCLES, CompositeImageSet::None, false, CompositeTab::Macro},
    {u"FUNC_MACRO_LIST", IDC_CMP_ACTION_LIST, CompositeImageSet::None, false, CompositeTab::Macro},
    {u"FUNC_MACRO_RECORD", IDC_CMP_RECORD, CompositeImageSet::Macro, false, CompositeTab::Macro},
    {u"FUNC_MACRO_DELETE2", IDC_CMP_ACTION_DELETE, CompositeImageSet::Macro, false, CompositeTab::Macro},
    {u"FUNC_MACRO_CLEAR", IDC_CMP_ACTION_CLEAR, CompositeImageSet::Macro, false, CompositeTab::Macro},
    {u"FUNC_MACRO_UP_TOP", IDC_CMP_MOVE_TOP, CompositeImageSet::Macro, false, CompositeTab::Macro},
    {u"FUNC_MACRO_UP", IDC_CMP_MOVE_UP, CompositeImageSet::Macro, false, CompositeTab::Macro},
    {u"FUNC_MACRO_DOWN", IDC_CMP_MOVE_DOWN, CompositeImageSet::Macro, false, CompositeTab::Macro},
    {u"FUNC_MACRO_DOWN_BOTTOM", IDC_CMP_MOVE_BOTTOM, CompositeImageSet::Macro, false, CompositeTab::Macro},
    {u"FUNC_MACRO_RECORD_DELAY", IDC_CMP_RECORD_DELAY, CompositeImageSet::None, false, CompositeTab::Macro},
    {u"FUNC_MACRO_RECORD_DELAY2", IDC_CMP_RECORD_DELAY_LABEL, CompositeImageSet::None, false, CompositeTab::Macro},
}};
inline constexpr std::u16string_view kCompositeMaskSkinKey = u"CONTROL_MASK";

// Controls whose caption is a language text read at each opening.
struct CompositeCaption {
  int id;
  texts::LiveTextKey text;
};
inline constexpr std::array<CompositeCaption, 20> kCompositeCaptions{{
    {IDC_CMP_APPLY, texts::LiveTextKey::PROFILE_APPLY},  // the main window's Apply text
    {IDC_CMP_TAB_KEY, texts::LiveTextKey::SINGLE_KEY},
    {IDC_CMP_TAB_MACRO, texts::LiveTextKey::MACRO_SETTING},
    {IDC_CMP_TAB_MEDIA, texts::LiveTextKey::MULTI_MEDIA},
    {IDC_CMP_TAB_FUNCTION, texts::LiveTextKey::FUNCTION_KEY},
    {IDC_CMP_MOVE_TOP, texts::LiveTextKey::A_TOP},
    {IDC_CMP_MOVE_UP, texts::LiveTextKey::A_UP},
    {IDC_CMP_MOVE_DOWN, texts::LiveTextKey::A_DOWN},
    {IDC_CMP_MOVE_BOTTOM, texts::LiveTextKey::A_BOTTOM},
    {IDC_CMP_RECORD, texts::LiveTextKey::A_RECORD},
    {IDC_CMP_ACTION_DELETE, texts::LiveTextKey::A_DELETE},
    {IDC_CMP_ACTION_CLEAR, texts::LiveTextKey::A_CLEAR},
    {1, texts::LiveTextKey::MACRO_OK},
    {2, texts::LiveTextKey::MACRO_CANCLE},
    {IDC_CMP_CYCLES_LABEL, texts::LiveTextKey::MACRO_CYCLES},
    {IDC_CMP_RECORD_DELAY_LABEL, texts::LiveTextKey::RECORD_DELAY},
    {IDC_CMP_KEY_LABEL, texts::LiveTextKey::SINGLE_STATIC},
    {IDC_CMP_MACRO_LABEL, texts::LiveTextKey::MACRO_NAME_SETTING},
    {IDC_CMP_MEDIA_LABEL, texts::LiveTextKey::MEDIA_EDIT_TISHI},
    {IDC_CMP_FUNCTION_LABEL, texts::LiveTextKey::FUNCTION_TISHI},
}};

// The labels drawn transparently over the skin.
inline constexpr std::array<int, 7> kCompositeLabels{
    IDC_CMP_PROMPT,       IDC_CMP_MACRO_LABEL,  IDC_CMP_KEY_LABEL,          IDC_CMP_MEDIA_LABEL,
    IDC_CMP_FUNCTION_LABEL, IDC_CMP_CYCLES_LABEL, IDC_CMP_RECORD_DELAY_LABEL};

}  // namespace vendrel::app
