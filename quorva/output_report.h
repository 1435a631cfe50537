#pragma once
// An output report as the HID API takes it: exactly the collection's output report length, the
// report number first. The keyboard numbers its reports and every report the program sends
// already starts with its number (0x04 for a control packet, 0x05 for the key-bank report), so
// the bytes are taken as they are and padded with zeros to the report length.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vendrel::quorva {

// Empty when the report cannot be sent: no bytes, no output report, or more bytes than it holds.
std::vector<std::uint8_t> FrameOutputReport(std::span<const std::uint8_t> bytes, std::size_t report_length);

}  // namespace vendrel::quorva
