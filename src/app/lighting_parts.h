#pragma once
// The lighting subsystem as the main window uses it: the light switch setting, the lighting model,
// the colour files and the per-key colours, wired to one command set. Made once the device link
// exists; lives as long as the link.
#include <string>

#include "device/command_set.h"
#include "lighting/colour_file.h"
#include "lighting/light_switch_setting.h"
#include "lighting/lighting_model.h"
#include "lighting/mode_list.h"
#include "lighting/per_key_colours.h"
#include "platform/file_system.h"
#include "platform/ini_profile.h"

namespace vendrel::app {

struct LightingParts {
  // light_switch_file: the per-user wskb.ini; colour_prefix: <program>\Skins\UserDengColor_.
  LightingParts(device::CommandSet& commands, platform::IniProfile& ini,
                platform::FileSystem& files, std::u16string light_switch_file,
                std::u16string colour_prefix, lighting::ModeNameLookup names)
      : light_switch(ini, std::move(light_switch_file)),
        model(commands, light_switch, std::move(names)),
        colour_file(ini, files, std::move(colour_prefix)),
        colours(commands, colour_file) {}
  LightingParts(const LightingParts&) = delete;
  LightingParts& operator=(const LightingParts&) = delete;

  lighting::LightSwitchSetting light_switch;
  lighting::LightingModel model;
  lighting::ColourFile colour_file;
  lighting::PerKeyColours colours;
};

}  // namespace vendrel::app
