#pragma once
// Byte layout of a settings file (*.fwc and the per-user cache file): 32-byte header, 32-byte
// descriptor, 2048 key records, the macro records and the text area of the record texts.
#include <array>
#include <cstddef>
#include <cstdint>

#include "keys/profile_key_table.h"
#include "macros/macro_record.h"

namespace vendrel::profiles {

// Header and descriptor, as a file starts and as a store keeps them between load and save.
inline constexpr std::size_t kSettingsHeaderSize = 64;
using SettingsHeader = std::array<std::uint8_t, kSettingsHeaderSize>;

// Header.
inline constexpr std::size_t kHeaderSize = 32;
inline constexpr std::size_t kHdrOffMagic = 0;         // u16
inline constexpr std::size_t kHdrOffHeaderSize = 2;    // u16
inline constexpr std::size_t kHdrOffFormatA = 4;       // u16
inline constexpr std::size_t kHdrOffFormatB = 6;       // u16
inline constexpr std::size_t kHdrOffTotalSize = 8;     // u32
inline constexpr std::size_t kHdrOffRecordCount = 12;  // u16
inline constexpr std::size_t kHdrOffMacroCount = 14;   // u16
inline constexpr std::size_t kHdrOffTextSize = 16;     // u32
inline constexpr std::size_t kHdrOffReserved = 20;     // 10 zero bytes
inline constexpr std::size_t kHdrOffFlag = 30;         // u8, 0 or 1
inline constexpr std::size_t kHdrOffChecksum = 31;     // u8, sum of bytes 0..30

inline constexpr std::uint16_t kMagic = 0x4446;
inline constexpr std::uint16_t kFormatA = 3;
inline constexpr std::uint16_t kFormatB = 1;
inline constexpr std::uint8_t kMaxFlag = 1;

// Descriptor: eight u32 words written as constants and ignored on reading.
inline constexpr std::size_t kDescriptorOffset = 32;
inline constexpr std::size_t kDescriptorWords = 8;
inline constexpr std::size_t kDescriptorIdsWord = 4;  // vendor id low 16 bits, product id high
inline constexpr std::array<std::uint32_t, kDescriptorWords> kDescriptorConstants{
    0x0020484B, 0x00008020, 0x02000004, 0, 0 /* ids */, 0x000E1C4F, 0, 0};

// Areas.
inline constexpr std::size_t kKeyTableOffset = kSettingsHeaderSize;  // 64
inline constexpr std::size_t kMacroAreaOffset = kKeyTableOffset + keys::kProfileKeyTableSize;  // 32832
inline constexpr std::size_t kMinFileSize = kMacroAreaOffset;

// Size of a file with macro_count macros and a text area of text_size bytes.
inline constexpr std::uint64_t SettingsFileSize(std::uint64_t macro_count, std::uint64_t text_size) {
  return kMinFileSize + macros::kMacroRecordSize * macro_count + text_size;
}

// Files above this size are not read at all.
inline constexpr std::uint64_t kMaxReadableFileSize = 0xFFFFFFFFull;

}  // namespace vendrel::profiles
