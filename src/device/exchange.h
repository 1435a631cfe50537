#pragma once
// The synchronous command exchange: one 64-byte request written to the control collection, one
// reply awaited through the notification callback, with a time limit and three attempts.
#include <cstdint>
#include <span>

#include "device/hid_library.h"
#include "device/reply_slot.h"
#include "device/results.h"
#include "device/timings.h"
#include "platform/sleeper.h"

namespace vendrel::device {

class Exchange {
 public:
  Exchange(HidLibrary& library, platform::Sleeper& sleeper, DeviceTimings timings = {});

  // Number of keyboards attached: the presence check.
  int AttachedCount();

  // Sends request (padded with 0 or cut to 64 bytes) and waits for the reply that echoes its
  // command code. Results: Ok with the reply in `reply` (its status may still be a refusal),
  // NoKeyboard, NotSent, NoReply after three attempts.
  DeviceResult Run(std::span<const std::uint8_t> request, std::span<std::uint8_t> reply,
          std::uint32_t* received = nullptr);

  // Sends up to 64 bytes once, zero-padded and unchanged otherwise, without waiting for anything.
  // Returns the library's result (greater than 0 = sent).
  int WriteWithoutReply(std::span<const std::uint8_t> bytes);

  // From the notification callback: a 'CTRL' report.
  void OnControlReport(std::span<const std::uint8_t> report) { slot_.Deliver(report); }

  // Clears the waiting flag, as unit registration does before 'CTRL' is registered.
  void ResetSlot() { slot_.Clear(); }

  // The waiting flag: set while an exchange waits for its reply.
  bool Waiting() const { return slot_.Waiting(); }
  // The slot itself, for tests that play an abandoned exchange.
  ReplySlot& Slot() { return slot_; }

  const DeviceTimings& Timings() const { return timings_; }
  platform::Sleeper& Sleeper() { return sleeper_; }

 private:
  HidLibrary& library_;
  platform::Sleeper& sleeper_;
  DeviceTimings timings_;
  ReplySlot slot_;
};

}  // namespace vendrel::device
