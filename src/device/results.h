#pragma once
// Results of device operations. The exchange returns them typed; the command set and the code above
// it return the integer each one stands for, as the device interfaces define them.

namespace vendrel::device {

enum class DeviceResult : int {
  Ok = 1,
  NoKeyboard = 0,     // nothing attached; nothing was sent
  NotSent = -1,       // the library refused the write
  NoReply = -2,       // three attempts without a usable reply
  RefusedFF = -102,   // reply status 0xFF
  RefusedFE = -103,   // reply status 0xFE
  OutOfRange = -201,  // an argument out of range; nothing was sent
};

constexpr int ResultCode(DeviceResult result) { return static_cast<int>(result); }

// The integer results of the command set and the transfers built on it.
inline constexpr int kOk = ResultCode(DeviceResult::Ok);
inline constexpr int kNoKeyboard = ResultCode(DeviceResult::NoKeyboard);
inline constexpr int kNotSent = ResultCode(DeviceResult::NotSent);
inline constexpr int kNoReply = ResultCode(DeviceResult::NoReply);
inline constexpr int kRefusedFF = ResultCode(DeviceResult::RefusedFF);
inline constexpr int kRefusedFE = ResultCode(DeviceResult::RefusedFE);
inline constexpr int kOutOfRange = ResultCode(DeviceResult::OutOfRange);

constexpr bool Succeeded(int result) { return result == kOk; }

}  // namespace vendrel::device
