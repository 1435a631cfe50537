#pragma once
// Fitting the macros into the keyboard's macro memory: with their names when everything fits,
// without them when only the macros do, not at all otherwise.
#include <cstdint>
#include <span>
#include <vector>

#include "macros/macro_image.h"
#include "macros/macro_record.h"

namespace vendrel::macros {

enum class FitResult : int {
  Ok = 1,
  TooLarge = 0,   // even the image without names exceeds the space: nothing may be sent
  NoMemory = -3,  // no buffer for the image: nothing may be sent
  UnsendableKey = -5,  // an action's key cannot be played by the keyboard: nothing may be sent
};

struct FittedMacroImage {
  FitResult result = FitResult::TooLarge;
  std::vector<std::uint8_t> bytes;  // the image to write from offset 0
  bool with_names = false;          // false: the names were left out to make the macros fit
  UnsendableAction unsendable;      // the refused action, when result is UnsendableKey
};

// Bytes of the keyboard's macro memory: 128 x byte 11 of the information block; 0 before the
// first connection, so that nothing fits.
inline constexpr std::uint32_t MacroSpaceFromUnits(std::uint8_t units) { return 128u * units; }

// Builds the image of macros within macro_space bytes. An action whose key the keyboard cannot
// send refuses the whole image before its size is looked at: the user has to change that macro
// whatever the space.
FittedMacroImage FitMacroImage(std::span<const MacroRecord> macros, std::uint32_t macro_space);

}  // namespace vendrel::macros
