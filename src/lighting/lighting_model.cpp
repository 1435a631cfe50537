#include "lighting/lighting_model.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <utility>

#include "device/results.h"
#include "lighting/mode_table.h"
#include "lighting/transfer_bracket.h"

namespace vendrel::lighting {
namespace {

constexpr std::uint8_t kMulticolourByteOn = 1;
constexpr std::uint8_t kMulticolourByteOff = 0;

std::uint8_t MulticolourByte(bool on) { return on ? kMulticolourByteOn : kMulticolourByteOff; }

}  // namespace

LightingModel::LightingModel(device::CommandSet& commands, LightSwitchSetting& light_switch,
                             ModeNameLookup names)
    : commands_(commands), light_switch_(light_switch), names_(std::move(names)) {}

void LightingModel::SetCurrentProfile(int profile) {
  if (profile < 0 || profile >= kProfileCount) return;
  state_.current_profile = profile;
}

int LightingModel::Load(const std::function<void()>& after_begin) {
  state_.mode_map.clear();
  state_.supported_modes.fill(0);

  device::InfoBlock info{};
  if (commands_.ReadInformation(info) != device::kOk) return -1;
  std::copy_n(info.begin() + device::kInfoOffModeList, kModeListSize,
              state_.supported_modes.begin());

  bool current_read = false;
  commands_.BeginTransfer();
  if (after_begin) after_begin();
  for (int profile = 0; profile < kProfileCount; ++profile) {
    std::array<std::uint8_t, device::kLightingReadSize> reply{};
    const int result = commands_.ReadLightingArea(
        reply, static_cast<std::uint8_t>(device::kLightingReadSize), FieldAddress(profile, 0));
    // A failed read keeps what the mirror (and, for the current profile, the state) held.
    if (result != device::kOk) continue;
    std::copy_n(reply.begin(), kBlockSize,
                state_.mirror.begin() + static_cast<std::ptrdiff_t>(FieldAddress(profile, 0)));
    if (profile == state_.current_profile) current_read = true;
  }
  commands_.EndTransfer();

  if (current_read) {
    const LightingValues v = DecodeBlock(std::span<const std::uint8_t>(state_.mirror)
                                             .subspan(FieldAddress(state_.current_profile, 0))
                                             .first<kBlockSize>());
    state_.mode = v.mode;
    TakeValuesButMode(v);
  }
  state_.light_switch = light_switch_.Read();
  return 0;
}

void LightingModel::BuildModeList() {
  state_.mode_map = lighting::BuildModeList(state_.supported_modes, names_);
}

int LightingModel::ComboIndexOfMode(int mode) const {
  for (const ModeEntry& e : state_.mode_map) {
    if (e.mode == mode) return e.combo_index;
  }
  return -1;
}

int LightingModel::ModeOfComboIndex(int combo_index) const {
  for (const ModeEntry& e : state_.mode_map) {
    if (e.combo_index == combo_index) return e.mode;
  }
  return 0;
}

bool LightingModel::IsModeSupported(int mode) const {
  // 0 marks an empty slot, not a mode.
  if (mode <= 0) return false;
  return std::find(state_.supported_modes.begin(), state_.supported_modes.end(), mode) !=
         state_.supported_modes.end();
}

bool LightingModel::PerKeySupported() const { return IsModeSupported(kModePerKey); }

bool LightingModel::SelectMode(int combo_index) {
  const int mode = ModeOfComboIndex(combo_index);
  const std::optional<ModeTraits> traits = TraitsOf(mode);
  if (!traits) return false;
  const int profile = state_.current_profile;
  const std::uint8_t mode_byte[] = {static_cast<std::uint8_t>(mode)};
  const std::uint8_t multicolour_byte[] = {MulticolourByte(state_.multicolour)};
  state_.mode = mode;
  WriteInTransfer(commands_, [&] {
    commands_.WriteLightingArea(mode_byte, 1, FieldAddress(profile, kOffMode));
    if (traits->writes_multicolour) {
      commands_.WriteLightingArea(multicolour_byte, 1, FieldAddress(profile, kOffMulticolour));
    }
  });
  return true;
}

bool LightingModel::SetBrightness(int position) {
  const int value = std::clamp(position, 0, kMaxLevel);
  if (value == state_.brightness) return false;
  state_.brightness = value;
  WriteField(kOffBrightness, static_cast<std::uint8_t>(value));
  return true;
}

bool LightingModel::SetSpeed(int position) {
  const int value = kMaxLevel - std::clamp(position, 0, kMaxLevel);
  if (value == state_.speed) return false;
  state_.speed = value;
  WriteField(kOffSpeed, static_cast<std::uint8_t>(value));
  return true;
}

void LightingModel::SetDirection(bool first) {
  const std::uint8_t value = first ? kDirectionFirst : kDirectionSecond;
  state_.direction = value;
  WriteField(kOffDirection, value);
}

void LightingModel::SetColour(Colour colour) {
  state_.multicolour = false;
  const int profile = state_.current_profile;
  const std::uint8_t off[] = {kMulticolourByteOff};
  const std::uint8_t rgb[] = {RedOf(colour), GreenOf(colour), BlueOf(colour)};
  state_.colour = colour & 0xFFFFFF;
  WriteInTransfer(commands_, [&] {
    // Multicolour first: the keyboard would otherwise show the new colour in a multicolour effect.
    commands_.WriteLightingArea(off, 1, FieldAddress(profile, kOffMulticolour));
    commands_.WriteLightingArea(rgb, static_cast<std::uint8_t>(std::size(rgb)),
                                FieldAddress(profile, kOffColour));
  });
}

void LightingModel::ToggleMulticolour() {
  state_.multicolour = !state_.multicolour;
  WriteField(kOffMulticolour, MulticolourByte(state_.multicolour));
}

void LightingModel::SetColourChoice(int choice) {
  state_.colour_choice = std::clamp(choice, 0, kMaxColourChoice);
  WriteField(kOffColourChoice, static_cast<std::uint8_t>(state_.colour_choice));
}

void LightingModel::SetReportRate(int rate) {
  state_.report_rate = std::clamp(rate, 0, kMaxReportRate);
  WriteField(kOffReportRate, static_cast<std::uint8_t>(state_.report_rate));
}

void LightingModel::ReadLightSwitch() { state_.light_switch = light_switch_.Read(); }

void LightingModel::SetLightSwitch(bool on) {
  state_.light_switch = on;
  light_switch_.Write(on);
}

void LightingModel::TakeDefaultValues() { TakeValuesButMode(DefaultValues()); }

void LightingModel::TakeValuesButMode(const LightingValues& v) {
  state_.brightness = v.brightness;
  state_.speed = v.speed;
  state_.direction = v.direction;
  state_.multicolour = v.multicolour;
  state_.colour = v.colour;
  state_.colour_choice = v.colour_choice;
  state_.report_rate = v.report_rate;
}

void LightingModel::WriteDefaultBlock() {
  const auto block = DefaultBlock();
  WriteInTransfer(commands_, [&] {
    commands_.WriteLightingArea(block, static_cast<std::uint8_t>(block.size()),
                                FieldAddress(state_.current_profile, 0));
  });
}

void LightingModel::WriteField(std::size_t offset, std::uint8_t value) {
  const std::uint8_t byte[] = {value};
  WriteInTransfer(commands_, [&] {
    commands_.WriteLightingArea(byte, 1, FieldAddress(state_.current_profile, offset));
  });
}

}  // namespace vendrel::lighting
