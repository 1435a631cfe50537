#pragma once
// The keyboard's macro memory image: a 16-byte header, one 16-bit offset per macro and the macro
// blocks, each with its encoded actions and optionally its name. Encoding and decoding are pure;
// the store overloads take the store's lock around the pure functions.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "keys/key_store.h"
#include "macros/macro_record.h"

namespace vendrel::macros {

// Header.
inline constexpr std::uint16_t kImageMagic = 0x55AA;
inline constexpr std::size_t kImageHeaderSize = 16;
inline constexpr std::size_t kImageOffMagic = 0;       // u16
inline constexpr std::size_t kImageOffTotalSize = 2;   // u16
inline constexpr std::size_t kImageOffCount = 4;       // u16
inline constexpr std::size_t kImageOffNamesFlag = 6;   // u16
inline constexpr std::size_t kImageOffReserved = 8;    // 8 zero bytes
inline constexpr std::size_t kImageOffsetSize = 2;     // one u16 offset per macro after the header

// Block.
inline constexpr std::size_t kBlockOffActionCount = 0;  // u16
inline constexpr std::size_t kBlockOffCycles = 2;       // u8
inline constexpr std::size_t kBlockOffNameLength = 3;   // u8, UTF-16 units
inline constexpr std::size_t kBlockOffActions = 4;
inline constexpr std::size_t kBlockHeaderSize = 4;

// Encoded action: control word, then two usage bytes.
inline constexpr std::size_t kEncodedActionSize = 4;
inline constexpr std::size_t kEncodedOffControl = 0;
inline constexpr std::size_t kEncodedOffUsage = 2;
inline constexpr std::uint16_t kControlDelayMask = 0x0FFF;  // delay in units of 10 ms
inline constexpr unsigned kControlKindShift = 12;
inline constexpr std::uint16_t kControlKindMask = 0x7;
inline constexpr std::uint16_t kControlPressBit = 0x8000;
inline constexpr std::uint32_t kDelayUnitMs = 10;

// Usage kinds of an encoded action (the same numbers as the key map's entry kinds).
inline constexpr std::uint8_t kUsageKindNone = 0;
inline constexpr std::uint8_t kUsageKindKeyboard = 2;
inline constexpr std::uint8_t kUsageKindConsumer = 3;
inline constexpr std::uint8_t kUsageKindDesktop = 4;
inline constexpr std::uint8_t kKeyboardSubModifier = 0x01;
inline constexpr std::uint8_t kKeyboardSubUsage = 0x02;

// The image's sizes and offsets are 16-bit: no image may be larger.
inline constexpr std::size_t kMaxImageSize = 0xFFFF;

struct MacroImageSize {
  std::size_t with_names = 0;
  std::size_t without_names = 0;
};

MacroImageSize MacroImageSizes(std::span<const MacroRecord> macros);
// Over the DeviceStore's macros, under its lock.
MacroImageSize MacroImageSizes(const keys::DeviceStore& store);

// One action as its four image bytes.
std::array<std::uint8_t, kEncodedActionSize> EncodeImageAction(const MacroAction& action);
// The action that four image bytes stand for.
MacroAction DecodeImageAction(std::span<const std::uint8_t, kEncodedActionSize> bytes);

// Fills buffer with the image of macros. buffer.size() is written as the total size and must be
// the size MacroImageSizes gives for the names flag. Returns 1, or 0 without writing when the
// buffer does not match or the image would exceed kMaxImageSize.
int EncodeMacros(std::span<const MacroRecord> macros, std::span<std::uint8_t> buffer,
                 bool with_names);
// Over the DeviceStore's macros, under its lock.
int EncodeMacros(const keys::DeviceStore& store, std::span<std::uint8_t> buffer, bool with_names);

// Results of DecodeMacros.
inline constexpr int kDecodeOk = 1;        // every macro decoded as the image says
inline constexpr int kDecodeCut = 2;       // the image was corrupt; what lay within bounds is kept
inline constexpr int kDecodeRefused = 0;   // no image (too short or no magic): an empty list

// Turns an image into records: MacroId position + 1, new flag 0, repeat mode 0, names from the
// image or new_name_prefix followed by position + 1. Never reads outside image: a count, offset,
// action count or name length beyond the bytes is cut to what lies inside them, more than 100
// macros or 2000 actions are cut to those limits and a name to the record's 249 units; a block
// that starts outside the image ends the list there.
int DecodeMacros(std::span<const std::uint8_t> image, std::u16string_view new_name_prefix,
                 MacroList& out);

// The name given to a macro that carries none: prefix followed by the decimal number.
std::u16string GeneratedMacroName(std::u16string_view prefix, std::size_t number);

}  // namespace vendrel::macros
