#pragma once
// The entries of the mode combo: the keyboard's supported modes that have a name, in the order
// the keyboard lists them, with dense combo indexes.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/ini_profile.h"

namespace vendrel::lighting {

inline constexpr std::size_t kModeListSize = 32;
using SupportedModes = std::array<std::uint8_t, kModeListSize>;

struct ModeEntry {
  int combo_index = 0;
  int mode = 0;
  std::u16string name;
  friend bool operator==(const ModeEntry&, const ModeEntry&) = default;
};

// The name of a mode, "1" when it has none.
using ModeNameLookup = std::function<std::u16string(int mode)>;

// A name of "1" (or text that reads as the integer 1) hides the mode.
bool IsOfferedName(const std::u16string& name);

std::vector<ModeEntry> BuildModeList(const SupportedModes& supported, const ModeNameLookup& names);

// The name of a mode in the main skin: key <mode> (decimal) of section "Mode" for language 0 and
// "Mode1" for language 1; any other language value reads "Mode", as the texts fall back to
// their first section. Default "1".
std::u16string SkinModeName(const platform::IniProfile& ini, const std::u16string& main_skin_file,
                            int language, int mode);

}  // namespace vendrel::lighting
