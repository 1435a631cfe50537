#include "lighting/per_key_colours.h"

#include <algorithm>
#include <cstddef>
#include <span>

#include "keys/key_table.h"
#include "lighting/transfer_bracket.h"

namespace vendrel::lighting {
namespace {

constexpr Colour kColourMask = 0xFFFFFF;

bool ValidProfile(int profile) { return profile >= 0 && profile < kProfileCount; }

// The LED of a key button, the Fn key or a G key; nothing for any other control. LedIndexOf
// cannot tell: it gives LED 0, which is a key of its own, for an unknown id and for the Fn key.
std::optional<int> LedOfControl(int control_id) {
  for (const keys::KeyButton& b : keys::KeyButtonTable()) {
    if (b.control_id == control_id) return b.led;
  }
  if (control_id == keys::kFnControlId) return keys::kFnLedIndex;
  if (keys::GKeyIndexOf(control_id)) return keys::kGKeyLedIndex;
  return std::nullopt;
}

std::array<std::uint8_t, 3> Bytes(Colour colour) {
  return {RedOf(colour), GreenOf(colour), BlueOf(colour)};
}

}  // namespace

PerKeyColours::PerKeyColours(device::CommandSet& commands, ColourFile& file)
    : commands_(commands), file_(file) {}

Colour PerKeyColours::LedColour(int profile, int led) const {
  if (!ValidProfile(profile) || led < 0 || led >= kLedCount) return kBlack;
  return table_[profile][led];
}

Colour PerKeyColours::ControlColour(int profile, int control_id) const {
  const std::optional<int> led = LedOfControl(control_id);
  return led ? LedColour(profile, *led) : kBlack;
}

bool PerKeyColours::FollowsBase(int profile, int control_id) const {
  const std::optional<int> led = LedOfControl(control_id);
  return ValidProfile(profile) && led && follows_base_[profile][*led];
}

bool PerKeyColours::IsPaintable(int control_id) {
  return LedOfControl(control_id).has_value() && !keys::GKeyIndexOf(control_id);
}

std::array<std::u16string, kSlotCount> PerKeyColours::SlotNames(int profile) const {
  std::array<std::u16string, kSlotCount> names;
  for (int slot = 0; slot < kSlotCount; ++slot) names[slot] = file_.ReadSlotName(profile, slot);
  return names;
}

void PerKeyColours::LoadActiveSlot(int profile) {
  if (!ValidProfile(profile)) return;
  const int slot = file_.ReadActiveSlot(profile);
  const SlotSettings settings = file_.ReadSlotSettings(profile, slot);
  slot_ = SlotState{slot, settings.tool, settings.paint, settings.base};
  const auto load = [&](int led) {
    const KeyColour key = file_.ReadKeyColour(profile, slot, led);
    table_[profile][led] = key.colour;
    follows_base_[profile][led] = key.follows_base;
  };
  for (const keys::KeyButton& b : keys::KeyButtonTable()) load(b.led);
  load(keys::kFnLedIndex);
  SendAllColours(profile);
}

void PerKeyColours::SendAllColours(int profile) {
  if (!ValidProfile(profile)) return;
  WriteInTransfer(commands_, [&] {
    for (int chunk = 0; chunk < kChunkCount; ++chunk) {
      std::array<std::uint8_t, kLedsPerChunk * 3> bytes{};
      for (int i = 0; i < kLedsPerChunk; ++i) {
        const auto rgb = Bytes(table_[profile][chunk * kLedsPerChunk + i]);
        std::copy(rgb.begin(), rgb.end(), bytes.begin() + i * 3);
      }
      commands_.WritePerKeyColours(profile, bytes, static_cast<std::uint8_t>(bytes.size()),
                                   chunk * kLedsPerChunk);
    }
  });
}

std::optional<Colour> PerKeyColours::PaintKey(int profile, int control_id) {
  if (!ValidProfile(profile) || !IsPaintable(control_id)) return std::nullopt;
  const int led = *LedOfControl(control_id);
  const bool with_base = slot_.tool == 1;
  const Colour colour = with_base ? slot_.base : slot_.paint;
  const auto rgb = Bytes(colour);
  WriteInTransfer(commands_, [&] {
    commands_.WritePerKeyColours(profile, rgb, static_cast<std::uint8_t>(rgb.size()), led);
  });
  table_[profile][led] = colour;
  follows_base_[profile][led] = with_base;
  file_.WriteKeyColour(profile, slot_.active_slot, led, KeyColour{colour, with_base});
  return colour;
}

void PerKeyColours::SetPaintColour(int profile, Colour colour) {
  if (!ValidProfile(profile)) return;
  slot_.paint = colour & kColourMask;
  WriteSlotSettings(profile);
}

std::vector<KeyRecolour> PerKeyColours::SetBaseColour(int profile, Colour colour) {
  std::vector<KeyRecolour> changed;
  colour &= kColourMask;
  if (!ValidProfile(profile) || colour == slot_.base) return changed;
  slot_.base = colour;
  WriteSlotSettings(profile);
  // Each LED once in table and file; every button on a following LED is reported.
  std::array<bool, kLedCount> recoloured{};
  const auto follow = [&](int control_id, int led) {
    if (!follows_base_[profile][led]) return;
    changed.push_back({control_id, colour});
    if (recoloured[led]) return;
    recoloured[led] = true;
    table_[profile][led] = colour;
    file_.WriteKeyColour(profile, slot_.active_slot, led, KeyColour{colour, true});
  };
  for (const keys::KeyButton& b : keys::KeyButtonTable()) follow(b.control_id, b.led);
  for (const int id : keys::kGKeyControlIds) follow(id, keys::kGKeyLedIndex);
  follow(keys::kFnControlId, keys::kFnLedIndex);
  SendAllColours(profile);
  return changed;
}

void PerKeyColours::SetTool(int profile, int tool) {
  if (!ValidProfile(profile) || (tool != 0 && tool != 1)) return;
  slot_.tool = tool;
  WriteSlotSettings(profile);
}

void PerKeyColours::SelectSlot(int profile, int slot) {
  if (!ValidProfile(profile) || slot < 0 || slot >= kSlotCount) return;
  file_.WriteActiveSlot(profile, slot);
  LoadActiveSlot(profile);
}

void PerKeyColours::RenameSlot(int profile, const std::u16string& name) {
  if (!ValidProfile(profile)) return;
  file_.WriteSlotName(profile, slot_.active_slot, name);
}

void PerKeyColours::ResetFromTemplate(int profile) {
  if (!ValidProfile(profile)) return;
  file_.ResetFromTemplate(profile);
  LoadActiveSlot(profile);
}

void PerKeyColours::WriteSlotSettings(int profile) {
  file_.WriteSlotSettings(profile, slot_.active_slot, SlotSettings{slot_.tool, slot_.base, slot_.paint});
}

}  // namespace vendrel::lighting
