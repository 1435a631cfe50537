#pragma once
// Integer results of device operations.

namespace vendrel::device {

inline constexpr int kOk = 1;
inline constexpr int kNoKeyboard = 0;        // also: waiting for the reply failed
inline constexpr int kNotSent = -1;          // the library refused the write
inline constexpr int kNoReply = -2;          // three attempts without a usable reply
inline constexpr int kRefusedFF = -102;  // reply status 0xFF
inline constexpr int kRefusedFE = -103;  // reply status 0xFE
inline constexpr int kOutOfRange = -201;     // an argument out of range; nothing was sent

}  // namespace vendrel::device
