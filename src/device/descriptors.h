#pragma once
// The keyboard's collections: descriptors and unit tags.
#include <cstdint>

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

constexpr Tag MakeTag(char a, char b, char c, char d) {
  return (static_cast<Tag>(static_cast<unsigned char>(a)) << 24) |
         (static_cast<Tag>(static_cast<unsigned char>(b)) << 16) |
         (static_cast<Tag>(static_cast<unsigned char>(c)) << 8) | static_cast<unsigned char>(d);
}
constexpr Tag MakeTag(char a, char b, char c) {
  return (static_cast<Tag>(static_cast<unsigned char>(a)) << 16) |
         (static_cast<Tag>(static_cast<unsigned char>(b)) << 8) | static_cast<unsigned char>(c);
}

inline constexpr Tag kTagCons = MakeTag('C', 'O', 'N', 'S');  // 0x434F4E53
inline constexpr Tag kTagCtrl = MakeTag('C', 'T', 'R', 'L');  // 0x4354524C
inline constexpr Tag kTagLed = MakeTag('L', 'E', 'D');        // 0x004C4544

// Usage page and usage of each collection.
inline constexpr std::uint16_t kConsUsagePage = 0x000C, kConsUsage = 0x0001;
inline constexpr std::uint16_t kCtrlUsagePage = 0xFF1C, kCtrlUsage = 0x0092;
inline constexpr std::uint16_t kLedUsagePage = 0x0008, kLedUsage = 0x0089;

constexpr Descriptor MakeDescriptor(std::uint16_t vendor, std::uint16_t product,
                                    std::uint16_t usage_page, std::uint16_t usage) {
  Descriptor d{};
  d[kDescOffMask + 0] = static_cast<std::uint8_t>(kMatchAll & 0xFF);
  d[kDescOffMask + 1] = static_cast<std::uint8_t>((kMatchAll >> 8) & 0xFF);
  d[kDescOffMask + 2] = static_cast<std::uint8_t>((kMatchAll >> 16) & 0xFF);
  d[kDescOffMask + 3] = static_cast<std::uint8_t>(kMatchAll >> 24);
  d[kDescOffVendor] = static_cast<std::uint8_t>(vendor & 0xFF);
  d[kDescOffVendor + 1] = static_cast<std::uint8_t>(vendor >> 8);
  d[kDescOffProduct] = static_cast<std::uint8_t>(product & 0xFF);
  d[kDescOffProduct + 1] = static_cast<std::uint8_t>(product >> 8);
  d[kDescOffUsagePage] = static_cast<std::uint8_t>(usage_page & 0xFF);
  d[kDescOffUsagePage + 1] = static_cast<std::uint8_t>(usage_page >> 8);
  d[kDescOffUsage] = static_cast<std::uint8_t>(usage & 0xFF);
  d[kDescOffUsage + 1] = static_cast<std::uint8_t>(usage >> 8);
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
  return static_cast<std::uint16_t>(d[offset] | (d[offset + 1] << 8));
}

}  // namespace vendrel::device
