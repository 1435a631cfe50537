#pragma once
// A printf-like formatter for texts that come from a file anyone can edit: it fills only a small,
// safe set of conversions and refuses anything else instead of reaching a printf-style function.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace vendrel::texts {

// An argument of FormatChecked(): a number for %d and %x, a text for %s.
using FormatArg = std::variant<std::int64_t, std::u16string_view>;

// Fills the conversions %d, %i, %u, %x, %X, %s and %c (flags '-' and '0', widths up to 99) and
// %%. Returns nothing when the format holds any other conversion or the arguments do not match.
bool FormatChecked(std::u16string_view format, std::initializer_list<FormatArg> args,
                   std::u16string& out);

// True when both texts take the same arguments in the same order: numbers (%d %i %u %x %X %c) and
// texts (%s); flags and widths may differ.
bool SameConversions(std::u16string_view a, std::u16string_view b);

}  // namespace vendrel::texts
