#pragma once
// Per-key colours (lighting mode 20): a colour for every LED of each profile, which keys follow
// the slot's base colour, the active slot with its tool and two colours, painting a key, and
// sending a profile's colours to the keyboard. The colour files are the persistent form; device
// write results are ignored like every lighting write. A profile outside 0..2 changes and sends
// nothing and reads as black.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "device/command_set.h"
#include "lighting/colour.h"
#include "lighting/colour_file.h"
#include "lighting/lighting_block.h"

namespace vendrel::lighting {

inline constexpr int kLedCount = 126;
inline constexpr int kLedsPerChunk = 18;  // one 54-byte write
inline constexpr int kChunkCount = 7;

struct SlotState {
  int active_slot = 0;
  int tool = 0;
  Colour paint = 0;
  Colour base = 0;
  friend bool operator==(const SlotState&, const SlotState&) = default;
};

// A key button whose look changed, with its new colour.
struct KeyRecolour {
  int control_id = 0;
  Colour colour = 0;
  friend bool operator==(const KeyRecolour&, const KeyRecolour&) = default;
};

class PerKeyColours {
 public:
  // Every reference must outlive this object.
  PerKeyColours(device::CommandSet& commands, ColourFile& file);

  const SlotState& Slot() const { return slot_; }
  Colour LedColour(int profile, int led) const;
  // The colour of a key button, G button (LED 125) or the Fn key; black for any other id.
  Colour ControlColour(int profile, int control_id) const;
  bool FollowsBase(int profile, int control_id) const;
  // Whether clicks on this control paint it: the 104 key buttons and the Fn key.
  static bool IsPaintable(int control_id);

  // The ten slot names of the profile, for the slot combo.
  std::array<std::u16string, kSlotCount> SlotNames(int profile) const;
  // Reads the active slot of the profile from its file into the state and the table, then sends
  // the profile's colours.
  void LoadActiveSlot(int profile);
  // LEDs 0..125 of the profile in seven 54-byte writes, in one transfer bracket.
  void SendAllColours(int profile);

  // Paints a paintable key with the tool's colour: keyboard, table, flag and file. Nothing for any
  // other control.
  std::optional<Colour> PaintKey(int profile, int control_id);
  // Both colours keep only their low 24 bits.
  void SetPaintColour(int profile, Colour colour);
  // The keys that follow the base colour take it (table, file) and the colours are sent. Returns
  // the buttons that changed; empty, with nothing written, when the colour is the current one.
  std::vector<KeyRecolour> SetBaseColour(int profile, Colour colour);
  void SetTool(int profile, int tool);  // 0 or 1; any other value is ignored
  // Makes the slot active (file) and loads it; a slot outside 0..9 (no combo entry) is ignored.
  void SelectSlot(int profile, int slot);
  // Names the active slot.
  void RenameSlot(int profile, const std::u16string& name);
  // The profile's file from the template, then the active slot loaded and sent.
  void ResetFromTemplate(int profile);

 private:
  void WriteSlotSettings(int profile);

  device::CommandSet& commands_;
  ColourFile& file_;
  SlotState slot_;
  std::array<std::array<Colour, kLedCount>, kProfileCount> table_{};
  std::array<std::array<bool, kLedCount>, kProfileCount> follows_base_{};
};

}  // namespace vendrel::lighting
