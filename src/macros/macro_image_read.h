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

// ReadMacroImage, then DecodeMacros with new_name_prefix for unnamed macros. A corrupt image
// yields what lies within its bounds. Returns 1 or the device result (out empty).
int ReadMacrosFromKeyboard(device::CommandSet& commands, std::u16string_view new_name_prefix,
                           MacroList& out);

}  // namespace vendrel::macros
