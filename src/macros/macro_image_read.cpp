#include "macros/macro_image_read.h"

#include <algorithm>
#include <new>

#include "device/results.h"
#include "codec/little_endian.h"
#include "macros/macro_image.h"

namespace vendrel::macros {

using codec::ReadU16;

int ReadMacroImage(device::CommandSet& commands, std::vector<std::uint8_t>& image) {
  image.clear();
  std::vector<std::uint8_t> header(kImageHeaderSize);
  const int r = commands.ReadMacroArea(header, static_cast<std::uint32_t>(header.size()));
  if (r != device::kOk) return r;
  if (ReadU16(header, kImageOffMagic) != kImageMagic) return device::kOk;
  // A total below the header's own size is corrupt; the header alone is then all there is.
  const std::size_t total = std::max<std::size_t>(ReadU16(header, kImageOffTotalSize), kImageHeaderSize);
  std::vector<std::uint8_t> bytes;
  try {
    bytes.resize(total);
  } catch (const std::bad_alloc&) {
    return device::kNotSent;
  }
  const int full = commands.ReadMacroArea(bytes, static_cast<std::uint32_t>(bytes.size()));
  if (full != device::kOk) return full;
  image = std::move(bytes);
  return device::kOk;
}

int ReadMacrosFromKeyboard(device::CommandSet& commands, std::u16string_view new_name_prefix,
                           MacroList& out) {
  std::vector<bool> named;
  return ReadMacrosFromKeyboard(commands, new_name_prefix, out, named);
}

int ReadMacrosFromKeyboard(device::CommandSet& commands, std::u16string_view new_name_prefix,
                           MacroList& out, std::vector<bool>& named) {
  out.clear();
  named.clear();
  std::vector<std::uint8_t> image;
  const int r = ReadMacroImage(commands, image);
  if (r != device::kOk) return r;
  if (image.empty()) return device::kOk;
  if (CheckMacroImage(image) != MacroImageCheck::Whole) return kImageNotWhole;
  DecodeMacros(image, new_name_prefix, out);
  named = BlocksWithNames(image);
  named.resize(out.size(), false);
  return device::kOk;
}

}  // namespace vendrel::macros
