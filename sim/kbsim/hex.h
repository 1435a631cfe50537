#pragma once
// Bytes as hexadecimal text, the way kbsim's control port and packet log show them.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vendrel::sim {

// Two upper-case digits per byte, no separators.
std::string ToHex(std::span<const std::uint8_t> bytes);

// Pairs of hex digits (either case); nothing when the text is empty, odd or holds another character.
std::optional<std::vector<std::uint8_t>> FromHex(std::string_view text);

}  // namespace vendrel::sim
