#pragma once
// Control placements from a skin file's BUTTONINFO section: "x,y,w,h" in client pixels. A
// placement at (1, 1) marks a control this model does not have; it is disabled.
#include <string_view>

#include "skin/ini_file.h"

namespace vendrel::skin {

inline constexpr std::u16string_view kSectionButtonInfo = u"BUTTONINFO";
inline constexpr std::u16string_view kSectionButtonInfo2 = u"BUTTONINFO2";
inline constexpr std::u16string_view kDefaultPlacement = u"1,1,1,1,x";

struct Placement {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
  bool Absent() const { return x == 1 && y == 1; }
  friend bool operator==(const Placement&, const Placement&) = default;
};

// Reads up to four decimal integers separated by commas, the way "%d,%d,%d,%d" scans: blanks
// before a number are skipped, scanning stops at the first mismatch, and the numbers not read
// stay 0. Out-of-range numbers are clamped rather than wrapped.
Placement ParsePlacement(std::u16string_view text);

Placement ReadPlacement(const CIniFile& ini, std::u16string_view section, std::u16string_view key);

}  // namespace vendrel::skin
