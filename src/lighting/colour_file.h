#pragma once
// The per-key colour files: one INI file per profile, <program>\Skins\UserDengColor_<p>.userd,
// with the active slot, ten slot names and each slot's tool, base and paint colours and key
// colours. Every value is read or written on its own through the profile-string calls, so a
// missing file or key reads as its default. UserDengColor_3.userd is the factory template and is
// only read.
#include <cstdint>
#include <string>

#include "lighting/colour.h"
#include "platform/file_system.h"
#include "platform/ini_profile.h"

namespace vendrel::lighting {

inline constexpr int kSlotCount = 10;
inline constexpr int kTemplateProfile = 3;

struct SlotSettings {
  int tool = 0;         // 0 paints with the paint colour, 1 with the base colour
  Colour base = 0;      // jcolor
  Colour paint = 0;     // color
  friend bool operator==(const SlotSettings&, const SlotSettings&) = default;
};

struct KeyColour {
  Colour colour = kRed;
  bool follows_base = true;
  friend bool operator==(const KeyColour&, const KeyColour&) = default;
};

// "R,G,B" and "R,G,B,f" as the files hold them. Reading is lenient: missing numbers read as 0,
// components are kept to 0..255 by their low byte as the keyboard would take them.
std::u16string FormatRgb(Colour colour);
Colour ParseRgb(const std::u16string& text);
std::u16string FormatKeyColour(const KeyColour& key);
KeyColour ParseKeyColour(const std::u16string& text);

class ColourFile {
 public:
  // prefix is <program>\Skins\UserDengColor_; ini and files must outlive this object.
  ColourFile(platform::IniProfile& ini, platform::FileSystem& files, std::u16string prefix);

  std::u16string Path(int profile) const;  // prefix + profile + ".userd"

  int ReadActiveSlot(int profile) const;
  void WriteActiveSlot(int profile, int slot);
  std::u16string ReadSlotName(int profile, int slot) const;
  void WriteSlotName(int profile, int slot, const std::u16string& name);
  SlotSettings ReadSlotSettings(int profile, int slot) const;
  void WriteSlotSettings(int profile, int slot, const SlotSettings& settings);  // tool, jcolor, color
  KeyColour ReadKeyColour(int profile, int slot, int led) const;
  void WriteKeyColour(int profile, int slot, int led, const KeyColour& key);

  // The profile's file becomes a copy of the template; a missing template leaves it empty.
  void ResetFromTemplate(int profile);

 private:
  platform::IniProfile& ini_;
  platform::FileSystem& files_;
  std::u16string prefix_;
};

}  // namespace vendrel::lighting
