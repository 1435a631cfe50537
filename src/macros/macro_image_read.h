#pragma once
// Reading the macro image back from the keyboard's macro memory.
#include <cstdint>
#include <string_view>
#include <vector>

#include "device/command_set.h"
#include "macros/macro_record.h"

namespace vendrel::macros {

// Reads the header, then as many bytes as its total size gives. A memory without the image's
// magic holds no macros: image is then empty. Returns 1, or the device result of a failed read
// (image empty).
int ReadMacroImage(device::CommandSet& commands, std::vector<std::uint8_t>& image);

// The result of ReadMacrosFromKeyboard for a memory whose image is not whole (CheckMacroImage):
// a torn write, which must not be taken for the keyboard's macros.
inline constexpr int kImageNotWhole = -301;

// ReadMacroImage, then DecodeMacros with new_name_prefix for unnamed macros. Returns 1, the device
// result, or kImageNotWhole for an image that a complete write cannot have left (out empty).
int ReadMacrosFromKeyboard(device::CommandSet& commands, std::u16string_view new_name_prefix,
                           MacroList& out);
// The same, and for each macro whether the keyboard holds its name (BlocksWithNames); named is
// empty whenever out is.
int ReadMacrosFromKeyboard(device::CommandSet& commands, std::u16string_view new_name_prefix,
                           MacroList& out, std::vector<bool>& named);

}  // namespace vendrel::macros
