#pragma once
// Decoding the library's 32-bit event records (layout in hid_records.h) into HidEvent. Addresses in
// the records are 32-bit; `resolve` turns one into readable memory (nullptr when there is none), so
// the decoding runs the same in the program and in native tests.
#include <cstdint>
#include <functional>

#include "device/hid_library.h"

namespace vendrel::device {

// Bytes of a 'CONS' report the program reads: its event code, the first 16-bit word. The unit
// record's count field is defined only for 'CTRL' data and says nothing about 'CONS' reports.
inline constexpr std::uint32_t kConsReportBytes = 2;

using AddressResolver = std::function<const std::uint8_t*(std::uint32_t address)>;

// False when the record is unusable (no unit record, data without report bytes); the report span
// points into the library's memory.
bool DecodeHidEvent(const std::uint8_t* event_record, const AddressResolver& resolve,
                    HidEvent& event);

}  // namespace vendrel::device
