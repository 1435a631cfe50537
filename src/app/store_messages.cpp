#include "app/store_messages.h"

#include <cstdint>

#include "macros/macro_record.h"

namespace vendrel::app {

void TellMacroFit(macros::FitResult fit, platform::MessageBoxes& boxes, const texts::TextTable& texts) {
  if (fit == macros::FitResult::TooLarge) boxes.ShowOk(texts.Text(texts::TextKey::EXTRA_MACRO_TOO_LONG));
}

void TellNamesDropped(platform::MessageBoxes& boxes, const texts::TextTable& texts) {
  boxes.ShowOk(texts.Text(texts::TextKey::EXTRA_PROFILE_SPACE_TIGHT));
}

void TellUnsendableKey(std::u16string_view macro_name, keys::KeyCode key,
                       platform::MessageBoxes& boxes, const texts::TextTable& texts) {
  const std::u16string key_name = keys::KeyName(key, texts);
  boxes.ShowOk(texts.Format(texts::TextKey::MACRO_KEY_UNSENDABLE,
                            {macro_name, std::u16string_view(key_name)}));
}

void TellKeyMapWrite(const store::KeyMapWriteOutcome& outcome, platform::MessageBoxes& boxes,
                     const texts::TextTable& texts) {
  if (outcome.status == store::KeyMapWrite::Unreadable) {
    // Nothing was fitted: the keyboard could not be read, which is not a lack of space.
    boxes.ShowOk(texts.Text(texts::TextKey::KEYBOARD_READ_FAILED));
    return;
  }
  if (outcome.status != store::KeyMapWrite::Sent) {
    if (outcome.fit == macros::FitResult::UnsendableKey) {
      TellUnsendableKey(outcome.unsendable_macro_name, outcome.unsendable.key, boxes, texts);
      return;
    }
    TellMacroFit(outcome.fit, boxes, texts);
    return;
  }
  if (outcome.names_dropped) TellNamesDropped(boxes, texts);
}

void TellSettingsFileCheck(store::SettingsFileCheck check, std::u16string_view path,
                           platform::MessageBoxes& boxes, const texts::TextTable& texts) {
  if (check == store::SettingsFileCheck::WrongFormat) {
    boxes.ShowOk(texts.Format(texts::TextKey::PROFILE_FORMAT_ERROR, {path}));
  }
}

void TellMacroLimit(platform::MessageBoxes& boxes, const texts::TextTable& texts) {
  boxes.ShowOk(texts.Format(texts::TextKey::MACRO_ERR_MAX,
                            {static_cast<std::int64_t>(macros::kMaxMacros)}));
}

}  // namespace vendrel::app
