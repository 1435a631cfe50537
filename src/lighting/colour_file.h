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
// The longest value the files give back, as the profile-string calls cut it.
inline constexpr std::uint32_t kMaxValueChars = 259;
// A template larger than this is no colour file (one with every slot full is under 100 KiB).
inline constexpr std::uint64_t kMaxTemplateSize = 1024u * 1024u;

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

// "R,G,B" and "R,G,B,f" as the files hold them. Reading is lenient, since the files are plain
// text a user may edit: numbers are read from the start (blanks around them allowed) up to the
// first thing that is not one; the numbers missing after that read as 0; a component outside
// 0..255 is held to the nearer end (300 reads as 255, -4 as 0); f reads as set for any value
// but 0. A key value that starts with no number at all reads as the default (red, following the
// base colour), like a missing key.
std::u16string FormatRgb(Colour colour);
Colour ParseRgb(const std::u16string& text);
std::u16string FormatKeyColour(const KeyColour& key);
KeyColour ParseKeyColour(const std::u16string& text);

class ColourFile {
 public:
  // prefix is <program>\Skins\UserDengColor_; ini and files must outlive this object.
  ColourFile(platform::IniProfile& ini, platform::FileSystem& files, std::u16string prefix);

  std::u16string Path(int profile) const;  // prefix + profile + ".userd"

  // The slot as read, also above 9 (its section is read like any other); a negative number or
  // text that is no number reads as 0.
  int ReadActiveSlot(int profile) const;
  void WriteActiveSlot(int profile, int slot);
  std::u16string ReadSlotName(int profile, int slot) const;
  // The name is cut at its first line break, which would otherwise end the value in the file,
  // and to the longest value a read gives back.
  void WriteSlotName(int profile, int slot, const std::u16string& name);
  // tool reads as 1 only for the number 1, as 0 for anything else.
  SlotSettings ReadSlotSettings(int profile, int slot) const;
  void WriteSlotSettings(int profile, int slot, const SlotSettings& settings);  // tool, jcolor, color
  KeyColour ReadKeyColour(int profile, int slot, int led) const;
  void WriteKeyColour(int profile, int slot, int led, const KeyColour& key);

  // The profile's file becomes a copy of the template; a missing template, or one that cannot be
  // read or is larger than any colour file would be, leaves it empty. The template stays as it is.
  void ResetFromTemplate(int profile);

 private:
  platform::IniProfile& ini_;
  platform::FileSystem& files_;
  std::u16string prefix_;
};

}  // namespace vendrel::lighting
