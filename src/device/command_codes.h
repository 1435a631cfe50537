#pragma once
// The command codes of the keyboard's control packets, shared by the program's command set and the
// keyboard model that answers them.
#include <cstdint>

namespace vendrel::device {

// Command codes.
inline constexpr std::uint8_t kCmdBeginTransfer = 0x01;
inline constexpr std::uint8_t kCmdEndTransfer = 0x02;
inline constexpr std::uint8_t kCmdReadInformation = 0x03;
inline constexpr std::uint8_t kCmdWriteInformation = 0x04;
inline constexpr std::uint8_t kCmdReadLighting = 0x05;
inline constexpr std::uint8_t kCmdWriteLighting = 0x06;
inline constexpr std::uint8_t kCmdReadKeyMap = 0x07;
inline constexpr std::uint8_t kCmdWriteKeyMap = 0x08;
inline constexpr std::uint8_t kCmdReadMacro = 0x09;
inline constexpr std::uint8_t kCmdWriteMacro = 0x0A;
inline constexpr std::uint8_t kCmdReadDefaultKeyMap = 0x0F;
inline constexpr std::uint8_t kCmdWriteColours = 0x11;
inline constexpr std::uint8_t kCmdUpdateMode = 0xEE;  // in bytes 3 and 4 of the boot packet

}  // namespace vendrel::device
