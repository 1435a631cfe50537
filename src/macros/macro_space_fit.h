#pragma once
// Fitting the macros into the keyboard's macro memory: with their names when everything fits,
// without them when only the macros do, not at all otherwise.
#include <cstdint>
#include <span>
#include <vector>

#include "keys/key_store.h"
#include "macros/macro_record.h"
#include "platform/message_box.h"
#include "texts/text_table.h"

namespace vendrel::macros {

// Results of FitMacroImage.
inline constexpr int kFitOk = 1;
inline constexpr int kFitTooLarge = 0;    // the user was told; nothing may be sent
inline constexpr int kFitNoMemory = -3;   // no buffer for the image; nothing may be sent

struct FittedMacroImage {
  int result = kFitTooLarge;
  std::vector<std::uint8_t> bytes;  // the image to write from offset 0
  bool with_names = false;          // false: the caller shows NamesDroppedMessage after the end
};

// Bytes of the keyboard's macro memory: 128 x byte 11 of the information block; 0 before the
// first connection, so that nothing fits.
inline constexpr std::uint32_t MacroSpaceFromUnits(std::uint8_t units) { return 128u * units; }

// Builds the image of macros within macro_space bytes. When even the image without names is
// larger, shows EXTRA_MACRO_TOO_LONG in an OK box and fails.
FittedMacroImage FitMacroImage(std::span<const MacroRecord> macros, std::uint32_t macro_space,
                               platform::MessageBoxes& boxes, const texts::TextTable& texts);
// Over the DeviceStore's macros; the lock is held for reading them, not while a box is shown.
FittedMacroImage FitMacroImage(const keys::DeviceStore& store, std::uint32_t macro_space,
                               platform::MessageBoxes& boxes, const texts::TextTable& texts);

// The warning due after a transfer whose image went without names.
void ShowNamesDroppedMessage(platform::MessageBoxes& boxes, const texts::TextTable& texts);

}  // namespace vendrel::macros
