#pragma once
// The keyboard's collections: descriptors and unit tags.
#include <cstdint>

#include "codec/four_char_tag.h"
#include "codec/little_endian.h"
#include "device/hid_library.h"

namespace vendrel::device {

// Our keyboard's USB identity; the stand-in library and kbsim serve the same.
inline constexpr std::uint16_t kVendorId = 0x3A7C;
inline constexpr std::uint16_t kProductId = 0x0B15;

// Descriptor layout, little-endian.
inline constexpr std::size_t kDescOffMask = 0;      // 4 bytes
inline constexpr std::size_t kDescOffVendor = 4;    // 2 bytes
inline constexpr std::size_t kDescOffProduct = 6;   // 2 bytes
inline constexpr std::size_t kDescOffUsagePage = 8; // 2 bytes
inline constexpr std::size_t kDescOffUsage = 10;    // 2 bytes
inline constexpr std::uint32_t kMatchAll = 0x0000000F;  // vendor, product, usage page, usage

inline constexpr Tag kTagCons = codec::FourCharTag("CONS");  // 0x434F4E53
inline constexpr Tag kTagCtrl = codec::FourCharTag("CTRL");  // 0x4354524C
inline constexpr Tag kTagLed = codec::FourCharTag("LED");    // 0x004C4544

// Usage page and usage of each collection.
inline constexpr std::uint16_t kConsUsagePage = 0x000C, kConsUsage = 0x0001;
inline constexpr std::uint16_t kCtrlUsagePage = 0xFF1C, kCtrlUsage = 0x0092;
inline constexpr std::uint16_t kLedUsagePage = 0x0008, kLedUsage = 0x0089;

constexpr Descriptor MakeDescriptor(std::uint16_t vendor, std::uint16_t product,
                                    std::uint16_t usage_page, std::uint16_t usage) {
  Descriptor d{};
  codec::WriteU32(d, kDescOffMask, kMatchAll);
  codec::WriteU16(d, kDescOffVendor, vendor);
  codec::WriteU16(d, kDescOffProduct, product);
  codec::WriteU16(d, kDescOffUsagePage, usage_page);
  codec::WriteU16(d, kDescOffUsage, usage);
  return d;
}

inline constexpr Descriptor kConsDescriptor =
    MakeDescriptor(kVendorId, kProductId, kConsUsagePage, kConsUsage);
inline constexpr Descriptor kCtrlDescriptor =
    MakeDescriptor(kVendorId, kProductId, kCtrlUsagePage, kCtrlUsage);
inline constexpr Descriptor kLedDescriptor =
    MakeDescriptor(kVendorId, kProductId, kLedUsagePage, kLedUsage);

// Reads of a descriptor's fields, for the library side.
constexpr std::uint16_t DescriptorWord(const Descriptor& d, std::size_t offset) {
  return codec::ReadU16(d, offset);
}

}  // namespace vendrel::device
