#pragma once
// The check value that accompanies every call into the HID service library: the sum of the
// substitution-table entries of every byte passed, so the library can tell a call of ours from a
// stray one. The table is shared with our Quorva.dll, which links this file.
#include <array>
#include <cstdint>
#include <span>

#include "device/hid_library.h"

namespace vendrel::device {

// A fixed permutation of 0..255.
const std::array<std::uint8_t, 256>& SubstitutionTable();

// Sum of table entries over: the 16 descriptor bytes, the callback address (little-endian, 0 when
// there is none), the tag (little-endian), then the data bytes.
std::uint32_t CheckValue(const Descriptor& descriptor, std::uint32_t callback, Tag tag,
                         std::span<const std::uint8_t> data = {});

}  // namespace vendrel::device
