#pragma once
// Every wait of the device link, in one place so tests can shorten them.
#include <chrono>

namespace vendrel::device {

struct DeviceTimings {
  std::chrono::milliseconds reply_wait{1000};        // one attempt's wait for its reply
  std::chrono::milliseconds take_over{1001};         // before taking over a slot left waiting
  std::chrono::milliseconds retry_pause{10};         // between attempts
  std::chrono::milliseconds end_transfer_pause{10};  // before EndTransfer goes out
  std::chrono::milliseconds ready_poll{50};          // connection worker polling the ready flag
  std::chrono::milliseconds indicator_poll{1};       // least time a macro event shows on the tray
};

}  // namespace vendrel::device
