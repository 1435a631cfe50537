#pragma once
// What the user is told about the outcomes the stores and models report: the window logic's
// decision, in the order the user has always seen the boxes.
#include <cstddef>
#include <string_view>

#include "keys/key_table.h"
#include "macros/macro_space_fit.h"
#include "platform/message_box.h"
#include "store/key_map_write.h"
#include "store/settings_files.h"
#include "texts/text_table.h"

namespace vendrel::app {

// EXTRA_MACRO_TOO_LONG when the macros did not fit the keyboard's memory; nothing otherwise.
void TellMacroFit(macros::FitResult fit, platform::MessageBoxes& boxes, const texts::TextTable& texts);

// EXTRA_PROFILE_SPACE_TIGHT: the macros went to the keyboard without their names.
void TellNamesDropped(platform::MessageBoxes& boxes, const texts::TextTable& texts);

// MACRO_KEY_UNSENDABLE filled with the macro's name and the key's name: the macro holds a key the
// keyboard cannot play, so nothing was written.
void TellUnsendableKey(std::u16string_view macro_name, keys::KeyCode key,
                       platform::MessageBoxes& boxes, const texts::TextTable& texts);

// A write to the keyboard: the fit's box, or the unsendable key's, when nothing was sent for it;
// the names warning after a transfer that left the names out.
void TellKeyMapWrite(const store::KeyMapWriteOutcome& outcome, platform::MessageBoxes& boxes,
                     const texts::TextTable& texts);

// PROFILE_FORMAT_ERROR with the path when the file is no settings file; nothing otherwise.
void TellSettingsFileCheck(store::SettingsFileCheck check, std::u16string_view path,
                           platform::MessageBoxes& boxes, const texts::TextTable& texts);

// MACRO_ERR_MAX filled with the limit: the list holds as many macros as it may.
void TellMacroLimit(platform::MessageBoxes& boxes, const texts::TextTable& texts);

}  // namespace vendrel::app
