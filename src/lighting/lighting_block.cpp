#include "lighting/lighting_block.h"

#include <algorithm>

namespace vendrel::lighting {
namespace {

constexpr std::uint8_t kDefaultMode = 18;
constexpr std::uint8_t kDefaultBrightness = 5;
constexpr std::uint8_t kDefaultSpeed = 3;
constexpr std::uint8_t kMulticolourOn = 0xFF;
// Outside 0..3 on purpose: the keyboard's own factory value, which the panel shows as red.
constexpr std::uint8_t kDefaultColourChoice = 8;

}  // namespace

LightingValues DecodeBlock(std::span<const std::uint8_t, kBlockSize> block) {
  LightingValues v;
  v.mode = block[kOffMode];
  v.brightness = block[kOffBrightness];
  v.speed = block[kOffSpeed];
  v.direction = block[kOffDirection];
  v.multicolour = block[kOffMulticolour] != 0;
  v.colour = MakeColour(block[kOffColour], block[kOffColour + 1], block[kOffColour + 2]);
  v.colour_choice = block[kOffColourChoice];
  v.report_rate = std::min<int>(block[kOffReportRate], kMaxReportRate);
  return v;
}

std::uint16_t FieldAddress(int profile, std::size_t field_offset) {
  return static_cast<std::uint16_t>(static_cast<std::size_t>(profile) * kBlockSize + field_offset);
}

std::array<std::uint8_t, kDefaultBlockSize> DefaultBlock() {
  std::array<std::uint8_t, kDefaultBlockSize> block{};
  block[kOffMode] = kDefaultMode;
  block[kOffBrightness] = kDefaultBrightness;
  block[kOffSpeed] = kDefaultSpeed;
  block[kOffDirection] = kDirectionSecond;
  block[kOffMulticolour] = kMulticolourOn;
  block[kOffColour] = RedOf(kRed);
  block[kOffColour + 1] = GreenOf(kRed);
  block[kOffColour + 2] = BlueOf(kRed);
  block[kOffColourChoice] = kDefaultColourChoice;
  return block;
}

LightingValues DefaultValues() {
  std::array<std::uint8_t, kBlockSize> block{};
  const auto defaults = DefaultBlock();
  std::copy(defaults.begin(), defaults.end(), block.begin());
  return DecodeBlock(block);
}

}  // namespace vendrel::lighting
