#pragma once
// Where the keyboard keeps its fields in the 44-byte information block (the block's size is
// kInfoSize in keyboard_model.h). The host reads the whole block and may change only the active
// profile; the rest is the firmware's.
#include <cstddef>

namespace vendrel::sim {

inline constexpr std::size_t kInfoOffActiveProfile = 10;
inline constexpr std::size_t kInfoOffMacroUnits = 11;  // macro memory in units of kMacroUnit bytes
inline constexpr std::size_t kInfoOffModeList = 12;    // supported lighting modes, 0 = none
inline constexpr std::size_t kModeListSize = 32;

}  // namespace vendrel::sim
