#pragma once
// The keyboard's macro memory image: a 16-byte header, one 16-bit offset per macro and the macro
// blocks, each with its encoded actions and optionally its name. Encoding and decoding are pure.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "keys/usage_entry.h"
#include "macros/macro_record.h"

namespace vendrel::macros {

// Header.
inline constexpr std::uint16_t kImageMagic = 0x55AA;
inline constexpr std::size_t kImageHeaderSize = 16;
inline constexpr std::size_t kImageOffMagic = 0;       // u16
inline constexpr std::size_t kImageOffTotalSize = 2;   // u16
inline constexpr std::size_t kImageOffCount = 4;       // u16
inline constexpr std::size_t kImageOffNamesFlag = 6;   // u16
// Bytes 8..15 are reserved and written as zero.
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
// Whether an encoded action's delay field holds the pause: 40959 ms does (as 4095 units, cut
// like any other to whole units), 40960 ms does not; EncodeImageAction writes those as 4095 units.
inline constexpr bool DelayFitsImage(std::uint32_t ms) { return ms / kDelayUnitMs <= kControlDelayMask; }

// The image's sizes and offsets are 16-bit: no image may be larger.
inline constexpr std::size_t kMaxImageSize = 0xFFFF;

struct MacroImageSize {
  std::size_t with_names = 0;
  std::size_t without_names = 0;
};

MacroImageSize MacroImageSizes(std::span<const MacroRecord> macros);

// One action as its four image bytes.
std::array<std::uint8_t, kEncodedActionSize> EncodeImageAction(const MacroAction& action);
// The action that four image bytes stand for.
MacroAction DecodeImageAction(std::span<const std::uint8_t, kEncodedActionSize> bytes);

enum class MacroEncodeResult : int {
  Ok = 1,
  Refused = 0,  // the buffer does not match the image's size, or the image exceeds kMaxImageSize
  UnsendableKey = -2,  // an action's key has no usage the keyboard can send
};

// An action that the keyboard could not play: where it is and its key.
struct UnsendableAction {
  std::size_t macro = 0;   // position in the list
  std::size_t action = 0;  // position in the macro
  keys::KeyCode key = keys::kNoKey;
  friend bool operator==(const UnsendableAction&, const UnsendableAction&) = default;
};

// The first action, in list order, among those the image holds, whose key is not
// keys::IsSendableInMacro. An action without key (a bare pause) is written as no usage and read
// back the same, so it is accepted.
std::optional<UnsendableAction> FindUnsendableAction(std::span<const MacroRecord> macros);

// Fills buffer with the image of macros. buffer.size() is written as the total size and must be
// the size MacroImageSizes gives for the names flag. Refused and UnsendableKey leave the buffer
// unwritten: a key without usage would reach the keyboard as nothing or as another key.
MacroEncodeResult EncodeMacros(std::span<const MacroRecord> macros, std::span<std::uint8_t> buffer,
                               bool with_names);

enum class MacroDecodeResult : int {
  Ok = 1,       // every macro decoded as the image says
  Cut = 2,      // the image was corrupt; what lay within bounds is kept
  Refused = 0,  // no image (too short or no magic): an empty list
};

// Turns an image into records: MacroId position + 1, new flag 0, repeat mode 0, the name units as
// the block stores them, or new_name_prefix followed by position + 1 for a block without name. Never reads outside image: a count, offset,
// action count or name length beyond the bytes is cut to what lies inside them, more than 100
// macros or 2000 actions are cut to those limits and a name to the record's 249 units; a block
// that starts outside the image ends the list there.
MacroDecodeResult DecodeMacros(std::span<const std::uint8_t> image,
                               std::u16string_view new_name_prefix, MacroList& out);

enum class MacroImageCheck : int {
  Whole = 1,           // every block lies inside the image, apart from the others, within the limits
  NoImage = 0,         // too short for the header or no magic
  SizeMismatch = -1,   // the header's total size is not the image's size
  TooManyMacros = -2,  // more macros than a list holds
  OffsetsOutside = -3, // the offset table runs past the image
  BlockOutside = -4,   // a block starts inside the offset table or ends past the image
  TooManyActions = -5, // a block claims more actions than a macro holds
  NameTooLong = -6,    // a block claims a longer name than a record holds
  Overlap = -7,        // two blocks share bytes
};

// Whether image is one that a complete write leaves behind. A write cut short (or an image from
// elsewhere) can leave counts and offsets that DecodeMacros would cut to size; such an image must
// not be taken for the keyboard's settings.
MacroImageCheck CheckMacroImage(std::span<const std::uint8_t> image);

// For each macro of an image that CheckMacroImage finds whole, whether its block carries a name
// (DecodeMacros makes one up for the others). Empty for any other image.
std::vector<bool> BlocksWithNames(std::span<const std::uint8_t> image);

// The name given to a macro that carries none: prefix followed by the decimal number.
std::u16string GeneratedMacroName(std::u16string_view prefix, std::size_t number);

}  // namespace vendrel::macros
