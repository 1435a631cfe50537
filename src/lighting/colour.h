#pragma once
// A 24-bit colour as the lighting code keeps it: R | G << 8 | B << 16, the layout the Win32
// colour calls use too, so a view can hand it to them unchanged.
#include <cstdint>

namespace vendrel::lighting {

using Colour = std::uint32_t;

inline constexpr Colour MakeColour(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return static_cast<Colour>(r) | static_cast<Colour>(g) << 8 | static_cast<Colour>(b) << 16;
}
inline constexpr std::uint8_t RedOf(Colour c) { return static_cast<std::uint8_t>(c & 0xFF); }
inline constexpr std::uint8_t GreenOf(Colour c) { return static_cast<std::uint8_t>(c >> 8 & 0xFF); }
inline constexpr std::uint8_t BlueOf(Colour c) { return static_cast<std::uint8_t>(c >> 16 & 0xFF); }

inline constexpr Colour kBlack = 0;
inline constexpr Colour kRed = MakeColour(255, 0, 0);

}  // namespace vendrel::lighting
