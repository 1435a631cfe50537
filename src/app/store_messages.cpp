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

void TellKeyMapWrite(const store::KeyMapWriteOutcome& outcome, platform::MessageBoxes& boxes,
                     const texts::TextTable& texts) {
  if (outcome.status == store::KeyMapWrite::Unreadable) {
    // Nothing was fitted: the keyboard could not be read, which is not a lack of space.
    boxes.ShowOk(texts.Text(texts::TextKey::MAIN_NO_DEVICE_PROMPT));
    return;
  }
  if (outcome.status != store::KeyMapWrite::Sent) {
    TellMacroFit(outcome.fit, boxes, texts);
    return;
  }
  if (outcome.names_dropped) TellNamesDropped(boxes, texts);
}

void TellMacroLimit(platform::MessageBoxes& boxes, const texts::TextTable& texts) {
  boxes.ShowOk(texts.Format(texts::TextKey::MACRO_ERR_MAX,
                            {static_cast<std::int64_t>(macros::kMaxMacros)}));
}

}  // namespace vendrel::app
