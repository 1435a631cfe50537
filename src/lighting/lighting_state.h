#pragma once
// The program's copy of the current profile's lighting and what the panel selects.
#include <array>
#include <cstdint>
#include <vector>

#include "lighting/colour.h"
#include "lighting/lighting_block.h"
#include "lighting/mode_list.h"

namespace vendrel::lighting {

struct LightingState {
  int current_profile = 0;  // 0..2: whose lighting the panel shows and edits
  int mode = 0;
  int brightness = 0;
  int speed = 0;
  int direction = kDirectionSecond;
  bool multicolour = false;
  Colour colour = 0;
  int colour_choice = 0;
  int report_rate = 0;
  bool light_switch = false;
  SupportedModes supported_modes{};
  std::vector<ModeEntry> mode_map;  // the mode combo, in combo order
  std::array<std::uint8_t, kMirrorSize> mirror{};
};

}  // namespace vendrel::lighting
