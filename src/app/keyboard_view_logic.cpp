#include "app/keyboard_view_logic.h"

#include <mutex>

#include "keys/profile_key_table.h"

namespace vendrel::app {
namespace {

// F1..F4 and the six D keys share their places on the picture; Flip chooses which are usable.
constexpr int kFirstFKeyId = 1010;
constexpr int kLastFKeyId = 1013;
constexpr int kFirstDKeyId = 1016;
constexpr int kLastDKeyId = 1021;

std::size_t BankOf(int g_bank) {
  const bool valid = g_bank >= 0 && static_cast<std::size_t>(g_bank) < keys::kGBankCount;
  return valid ? static_cast<std::size_t>(g_bank) : 0;
}

std::optional<std::size_t> KeyButtonPosition(int control_id) {
  const auto table = keys::KeyButtonTable();
  for (std::size_t n = 0; n < table.size(); ++n) {
    if (table[n].control_id == control_id) return n;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::size_t> KeySlotOfControl(int control_id, int g_bank) {
  if (const auto g = keys::GKeyIndexOf(control_id)) return keys::GRecordIndex(BankOf(g_bank), *g);
  if (const auto n = KeyButtonPosition(control_id)) return keys::Fold(keys::KeyButtonTable()[*n].code);
  return std::nullopt;
}

std::optional<std::size_t> ColourFlagRecordOfControl(int control_id, int g_bank) {
  if (const auto g = keys::GKeyIndexOf(control_id)) return keys::kGKeyCount * BankOf(g_bank) + *g;
  return KeyButtonPosition(control_id);
}

std::u16string FlipArrowKey(bool flip, FlipArrow arrow, bool pointer_over) {
  std::u16string key = flip ? u"UP_ARROW_" : u"DOWN_ARROW_";
  key += arrow == FlipArrow::Left ? u"LEFT" : u"RIGHT";
  key += pointer_over ? u'2' : u'1';
  return key;
}

KeyboardViewLogic::KeyboardViewLogic(KeyboardViewView& view, KeyboardViewServices& services)
    : view_(view), services_(services) {}

std::optional<std::size_t> KeyboardViewLogic::CurrentBlock() {
  const int profile = services_.ActiveProfile();
  if (profile < 0 || static_cast<std::size_t>(profile) >= keys::kDeviceProfileCount) {
    return std::nullopt;
  }
  return static_cast<std::size_t>(profile);
}

void KeyboardViewLogic::KeyClick(int control_id) {
  const bool macro_edit = control_id == kMacroEditKeyId;
  const int bank = services_.GBank();
  const std::optional<std::size_t> slot = KeySlotOfControl(control_id, bank);
  if (!slot) return;  // D1..D6 and the hidden button carry no key
  // Without a known profile there is no block that Apply would write: an edit would be lost or,
  // worse, land in another profile.
  const std::optional<std::size_t> block = CurrentBlock();
  if (!block) return;

  if (colour_keys_mode_) {
    const std::size_t record = *ColourFlagRecordOfControl(control_id, bank);
    bool flag = false;
    {
      store::WorkingStore& store = services_.Working();
      auto lock = store.Lock();
      keys::KeyAssignment& a = store.Table().At(*block, record);
      a.colour_flag = a.colour_flag != 0 ? 0u : 1u;
      flag = a.colour_flag != 0;
    }
    view_.ShowColourFlag(control_id, flag);
    view_.EnableMainApply();
    return;
  }

  view_.KeepKeyLit(control_id, true);
  view_.OpenKeyDialog({*block, *slot, control_id, macro_edit});
  view_.KeepKeyLit(control_id, false);
}

void KeyboardViewLogic::ToggleColourKeysMode() {
  colour_keys_mode_ = !colour_keys_mode_;
  const texts::TextKey text = colour_keys_mode_ ? texts::TextKey::MAIN_SWITCH_COLOR_TEXT
                                                : texts::TextKey::MAIN_SWITCH_FUNCTION_TEXT;
  view_.SetColourKeysSwitchText(services_.Texts().Text(text));
  view_.ShowColourKeys(colour_keys_mode_);
}

void KeyboardViewLogic::LoadFlip() {
  const std::u16string value =
      platform::ReadProfileString(services_.RegistryProfile(), std::u16string(kProfilesSection),
                                  std::u16string(kFlipKey), u"0", 16, u"");
  flip_ = value == u"1";
  ApplyFlip();
}

void KeyboardViewLogic::ToggleFlip() {
  flip_ = !flip_;
  services_.RegistryProfile().WriteString(std::u16string(kProfilesSection).c_str(),
                                          std::u16string(kFlipKey).c_str(), flip_ ? u"1" : u"0",
                                          u"");
  ApplyFlip();
}

void KeyboardViewLogic::OnFlipButtonHover(int control_id, bool pointer_over) {
  if (control_id == kFlipButtonLeft) {
    over_left_ = pointer_over;
    view_.ShowArrow(FlipArrow::Left, FlipArrowKey(flip_, FlipArrow::Left, over_left_));
  } else if (control_id == kFlipButtonRight) {
    over_right_ = pointer_over;
    view_.ShowArrow(FlipArrow::Right, FlipArrowKey(flip_, FlipArrow::Right, over_right_));
  }
}

void KeyboardViewLogic::ApplyFlip() {
  for (int id = kFirstFKeyId; id <= kLastFKeyId; ++id) view_.EnableKey(id, !flip_);
  for (int id = kFirstDKeyId; id <= kLastDKeyId; ++id) view_.EnableKey(id, flip_);
  view_.ShowArrow(FlipArrow::Left, FlipArrowKey(flip_, FlipArrow::Left, over_left_));
  view_.ShowArrow(FlipArrow::Right, FlipArrowKey(flip_, FlipArrow::Right, over_right_));
}

}  // namespace vendrel::app
