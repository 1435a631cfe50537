#pragma once
// The key map the keyboard leaves the factory with: what it answers to a read of its default map,
// and what each profile's key map holds after a reset. The model's own copy, kept apart from the
// program's built-in one so that a slip in either shows as a difference instead of agreeing.
#include <array>
#include <cstddef>
#include <cstdint>

namespace vendrel::sim {

// One three-byte entry (kind, sub, value) per key position; position = column * 8 + row, with 16
// columns of 8 rows, the last column having 6.
inline constexpr std::size_t kKeyMapEntryBytes = 3;
inline constexpr std::size_t kKeyMapRows = 8;
inline constexpr std::size_t kKeyMapPositions = 15 * kKeyMapRows + 6;
inline constexpr std::size_t kFactoryKeyMapSize = kKeyMapPositions * kKeyMapEntryBytes;

extern const std::array<std::uint8_t, kFactoryKeyMapSize> kFactoryKeyMap;

}  // namespace vendrel::sim
