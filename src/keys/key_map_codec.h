#pragma once
// The keyboard's key map: one 3-byte entry (kind, sub, value) per matrix position, 126 positions
// per profile. A position's key is the key its factory entry stands for, so encoding and decoding
// work against the factory map that the keyboard reported (or the built-in one).
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "keys/default_key_map.h"
#include "keys/key_table.h"
#include "keys/profile_key_table.h"
#include "keys/usage_entry.h"

namespace vendrel::keys {

inline constexpr std::size_t kMatrixPositions = kKeyMapBytes / kKeyMapEntryBytes;  // 126

// Entry kinds beyond the usage kinds of usage_entry.h, and their subs.
inline constexpr std::uint8_t kEntryKindMacro = 0x05;
inline constexpr std::uint8_t kMacroSubPlay = 0x01;
inline constexpr std::uint8_t kMacroSubStop = 0x02;
inline constexpr std::uint8_t kMacroSubFunction = 0x05;

// Offsets inside an entry.
inline constexpr std::size_t kEntryOffKind = 0;
inline constexpr std::size_t kEntryOffSub = 1;
inline constexpr std::size_t kEntryOffValue = 2;

struct KeyMapEntry {
  std::uint8_t kind = 0;
  std::uint8_t sub = 0;
  std::uint8_t value = 0;
  friend bool operator==(const KeyMapEntry&, const KeyMapEntry&) = default;
};

using DeviceKeyMap = device::KeyMapBytes;
using KeyMapView = std::span<const std::uint8_t, kKeyMapBytes>;

// Callers keep position < kMatrixPositions.
KeyMapEntry EntryAt(KeyMapView map, std::size_t position);
void SetEntry(std::span<std::uint8_t, kKeyMapBytes> map, std::size_t position, KeyMapEntry entry);

// The key an entry stands for; 0 for none.
KeyCode EntryKey(const KeyMapEntry& entry);

// The key map of a profile block. Positions whose factory entry stands for no key keep it.
// macro_ids holds the id of each macro in the order the keyboard numbers them. A macro assignment
// whose id is not among them, and a media index without a usage, keep the factory entry: the
// keyboard is never told to play a macro or send a usage the user did not set.
DeviceKeyMap EncodeKeyMap(ConstProfileBlock block, KeyMapView factory,
                          std::span<const std::uint16_t> macro_ids);

// Resets the block and fills it from a key map read from the keyboard.
void DecodeKeyMap(KeyMapView map, KeyMapView factory, ProfileBlock block);

}  // namespace vendrel::keys
