#pragma once
// The keyboard's lighting record of one profile (42 bytes) and the lighting area that holds the
// three of them at profile * 42. Pure functions over bytes: fields are named and read or written
// one by one.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "lighting/colour.h"

namespace vendrel::lighting {

inline constexpr std::size_t kBlockSize = 42;
inline constexpr int kProfileCount = 3;
inline constexpr std::size_t kMirrorSize = kBlockSize * kProfileCount;  // the three blocks

// Field offsets inside a block.
inline constexpr std::size_t kOffMode = 0;
inline constexpr std::size_t kOffBrightness = 1;
inline constexpr std::size_t kOffSpeed = 2;
inline constexpr std::size_t kOffDirection = 3;
inline constexpr std::size_t kOffMulticolour = 4;
inline constexpr std::size_t kOffColour = 5;  // R, G, B
inline constexpr std::size_t kOffColourChoice = 8;
inline constexpr std::size_t kOffReserved = 9;  // 6 bytes
inline constexpr std::size_t kOffReportRate = 15;
inline constexpr std::size_t kOffEffectOptions = 16;  // 19 bytes the program never edits
inline constexpr std::size_t kOffUnused = 35;         // 7 bytes the program never writes

inline constexpr std::uint8_t kDirectionFirst = 0xFF;   // left, up or spread
inline constexpr std::uint8_t kDirectionSecond = 0x00;  // right, down or gather
inline constexpr int kMaxLevel = 5;       // brightness and speed run 0..5
inline constexpr int kMaxReportRate = 3;
inline constexpr int kMaxColourChoice = 3;  // red, yellow, green, blue

// What the program decodes from a block.
struct LightingValues {
  int mode = 0;
  int brightness = 0;
  int speed = 0;
  int direction = 0;  // kDirectionFirst or kDirectionSecond as read
  bool multicolour = false;
  Colour colour = 0;
  int colour_choice = 0;  // as read; the panel shows anything above 3 as red
  int report_rate = 0;    // held at most kMaxReportRate
  friend bool operator==(const LightingValues&, const LightingValues&) = default;
};

LightingValues DecodeBlock(std::span<const std::uint8_t, kBlockSize> block);

// Address of a field of a profile's block in the lighting area.
std::uint16_t FieldAddress(int profile, std::size_t field_offset);

// The block "restore defaults" writes at profile * 42: mode 18, brightness 5, speed 3, second
// direction, multicolour on, red, colour choice 8 and zeros up to the unused tail.
inline constexpr std::size_t kDefaultBlockSize = kOffUnused;
std::array<std::uint8_t, kDefaultBlockSize> DefaultBlock();
// The values DefaultBlock decodes to, as the panel shows them after a restore.
LightingValues DefaultValues();

}  // namespace vendrel::lighting
