#pragma once
// One macro as the host keeps it: the 16512-byte record shared by memory, the two stores and the
// settings files, and its 8-byte action. The byte codec reads and writes the fixed layout field by
// field; the value type carries every field so that a record read from a file is written back
// with the same bytes.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vendrel::macros {

// Host-side identity of a macro, 1..100; 0 in a key assignment means "no macro chosen yet".
using MacroId = std::uint16_t;

// Same meaning as keys::KeyCode (scan code set 1, +0x100 for E0 keys).
using MacroKey = std::uint16_t;

inline constexpr std::size_t kMaxMacros = 100;
inline constexpr std::size_t kMaxActions = 2000;
inline constexpr std::size_t kMaxNameLength = 249;  // UTF-16 units, the terminator not counted
inline constexpr std::uint32_t kMaxDelayMs = 40000;
inline constexpr std::uint8_t kMinCycles = 1;
inline constexpr std::uint8_t kMaxCycles = 255;

// Byte layout of MacroAction.
inline constexpr std::size_t kMacroActionSize = 8;
inline constexpr std::size_t kActionOffDelay = 0;  // u32, ms
inline constexpr std::size_t kActionOffKey = 4;    // u16, key code
inline constexpr std::size_t kActionOffKind = 6;   // u16, 0 press / 1 release

// Byte layout of MacroRecord.
inline constexpr std::size_t kMacroRecordSize = 16512;
inline constexpr std::size_t kRecordOffName = 0;
inline constexpr std::size_t kRecordNameBytes = 500;  // 250 units, terminator included
inline constexpr std::size_t kRecordOffCycles = 500;
inline constexpr std::size_t kRecordOffReserved1 = 501;
inline constexpr std::size_t kRecordOffNewFlag = 502;
inline constexpr std::size_t kRecordOffRepeatMode = 504;
inline constexpr std::size_t kRecordOffId = 506;
inline constexpr std::size_t kRecordOffActionCount = 508;
inline constexpr std::size_t kRecordOffReserved2 = 510;
inline constexpr std::size_t kRecordOffActions = 512;

enum class ActionKind : std::uint16_t { Press = 0, Release = 1 };

struct MacroAction {
  std::uint32_t delay = 0;  // ms of pause after this action
  MacroKey key = 0;
  ActionKind kind = ActionKind::Press;  // may hold another raw value read from a file

  friend bool operator==(const MacroAction&, const MacroAction&) = default;
};

// Any kind other than Release counts as a press; an action entering a list is normalised with this.
inline ActionKind NormalisedKind(ActionKind kind) {
  return kind == ActionKind::Release ? ActionKind::Release : ActionKind::Press;
}

struct MacroRecord {
  std::u16string name;  // at most kMaxNameLength units; one read from an image keeps its 0 units
  std::uint8_t cycles = 1;        // 1..255
  std::uint8_t reserved1 = 0;
  std::uint16_t new_flag = 0;     // 1: created in the editor and not yet committed
  std::uint16_t repeat_mode = 0;  // carried along unchanged, never interpreted
  MacroId id = 0;
  std::uint16_t reserved2 = 0;
  std::vector<MacroAction> actions;  // at most kMaxActions

  friend bool operator==(const MacroRecord&, const MacroRecord&) = default;
};

using MacroList = std::vector<MacroRecord>;

// Writes one action into exactly kMacroActionSize bytes.
void EncodeMacroAction(const MacroAction& action, std::span<std::uint8_t, kMacroActionSize> out);
MacroAction DecodeMacroAction(std::span<const std::uint8_t, kMacroActionSize> in);

// Writes the record into exactly kMacroRecordSize bytes: the name cut to kMaxNameLength units and
// zero padded, at most kMaxActions actions, every slot after the last action zero.
void EncodeMacroRecord(const MacroRecord& record, std::span<std::uint8_t, kMacroRecordSize> out);

// Reads a record. A name without terminator is cut to kMaxNameLength units; an action count above
// kMaxActions is cut to kMaxActions. Never reads outside the kMacroRecordSize bytes.
MacroRecord DecodeMacroRecord(std::span<const std::uint8_t, kMacroRecordSize> in);

}  // namespace vendrel::macros
