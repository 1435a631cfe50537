#pragma once
// The 32-bit records the HID service library hands to the notification callback: an event record
// pointing to a unit record, which for 'CONS' data points to an input record. Our Quorva.dll builds
// them and the program's adapter reads them; both include this one layout. Fields are written and
// read one by one, little-endian; addresses are 32-bit because both sides are i686 code.
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace vendrel::device::records {

// Event record.
inline constexpr std::size_t kEventOffKind = 0;
inline constexpr std::size_t kEventOffUnit = 8;
inline constexpr std::size_t kEventSize = 12;

// Unit record.
inline constexpr std::size_t kUnitOffTag = 0;
inline constexpr std::size_t kUnitOffCount = 4;   // kind 0: attached devices; kind 1: report bytes
inline constexpr std::size_t kUnitOffReport = 8;  // kind 1 on 'CTRL'
inline constexpr std::size_t kUnitOffInput = 16;  // kind 1 on 'CONS'
inline constexpr std::size_t kUnitSize = 20;

// Input record.
inline constexpr std::size_t kInputOffReport = 28;
inline constexpr std::size_t kInputOffLength = 32;  // ours, for the library side only: the program reads just the event code
inline constexpr std::size_t kInputSize = 36;

inline void PutU32(std::uint8_t* record, std::size_t offset, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) record[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

inline std::uint32_t GetU32(const std::uint8_t* record, std::size_t offset) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(record[offset + i]) << (8 * i);
  return value;
}

}  // namespace vendrel::device::records
