#pragma once
// Which of the keyboard's collections a 16-byte device descriptor, or a HID interface, is.
#include <cstdint>

namespace vendrel::quorva {

enum class Collection { None, Consumer, Control, Led };

// The descriptor's match mask says which fields count: bit 0 vendor, 1 product, 2 usage page,
// 3 usage. A collection is selected only when every masked field equals the keyboard's.
Collection MatchCollection(const std::uint8_t* descriptor);

// The keyboard's collection that a HID interface with this identity is, or None.
Collection CollectionOf(std::uint16_t vendor_id, std::uint16_t product_id, std::uint16_t usage_page,
                        std::uint16_t usage);

}  // namespace vendrel::quorva
