#pragma once
// What one key does in one profile: the 16-byte record kept in the stores, the settings files and
// (through the key map codec) on the keyboard.
#include <cstddef>
#include <cstdint>
#include <span>

namespace vendrel::keys {

// Stored as the raw 16-bit value: a settings file may carry a type this program does not know,
// and it has to survive a load and save unchanged.
enum class AssignmentType : std::uint16_t {
  Default = 0,
  Disabled = 1,
  Key = 2,
  LaunchProgram = 3,
  Macro = 4,
  StopMacro = 5,
  TextBlock = 6,
  Media = 7,
  Function = 8,
};

// Types whose record owns a text in the KeyStringTable.
inline constexpr bool CarriesText(AssignmentType type) {
  return type == AssignmentType::LaunchProgram || type == AssignmentType::TextBlock;
}

// Byte layout of one record.
inline constexpr std::size_t kKeyAssignmentSize = 16;
inline constexpr std::size_t kAssignOffType = 0;        // u16
inline constexpr std::size_t kAssignOffKeyField = 2;    // u16
inline constexpr std::size_t kAssignOffParameter = 4;   // u32; text offset in a settings file
inline constexpr std::size_t kAssignOffColourFlag = 8;  // u32
inline constexpr std::size_t kAssignOffReserved = 12;   // u32

struct KeyAssignment {
  AssignmentType type = AssignmentType::Default;
  // G records: the G code; Macro records from the key dialog: the repeat count; otherwise 0.
  std::uint16_t key_field = 0;
  std::uint32_t parameter = 0;
  // Selection flag of the colour-keys view; it belongs to a button position, not to this key.
  std::uint32_t colour_flag = 0;
  std::uint32_t reserved = 0;

  friend bool operator==(const KeyAssignment&, const KeyAssignment&) = default;
};

// The macro a Macro assignment names: the low 16 bits of its parameter, everywhere the id is read.
inline constexpr std::uint16_t MacroIdOf(const KeyAssignment& assignment) {
  return static_cast<std::uint16_t>(assignment.parameter & 0xFFFF);
}

void EncodeKeyAssignment(const KeyAssignment& record, std::span<std::uint8_t, kKeyAssignmentSize> out);
KeyAssignment DecodeKeyAssignment(std::span<const std::uint8_t, kKeyAssignmentSize> in);

}  // namespace vendrel::keys
