#pragma once
// Numbers typed into fields and read from profile strings: the leading decimal number of a text,
// read the way the fields have always read it (blanks, a sign, digits, anything after ignored),
// and the "%d" text written back.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vendrel::app {

// The number at the start of text; nothing when no digit follows the blanks and the sign. Values
// beyond the range of a 32-bit int saturate, so that a long run of digits still reads as "large".
std::optional<std::int64_t> LeadingDecimal(std::u16string_view text);

std::u16string DecimalText(std::int64_t value);

}  // namespace vendrel::app
