#pragma once
// The library's way to the keyboard, whichever backend serves it (kbsim over loopback, or the
// Windows HID API), and what a backend hands back.
#include <cstdint>
#include <span>

#include "quorva/collections.h"

namespace vendrel::quorva {

class LinkReceiver {
 public:
  virtual ~LinkReceiver() = default;
  // Called on the backend's own thread, one call at a time.
  virtual void OnAttachCount(std::uint32_t count) = 0;
  virtual void OnControlReply(std::span<const std::uint8_t> packet) = 0;
  virtual void OnConsumerReport(std::span<const std::uint8_t> report) = 0;
};

class Link {
 public:
  virtual ~Link() = default;
  // Keyboards attached as the backend last saw them; 0 while there is none.
  virtual std::uint32_t AttachCount() const = 0;
  // Sends one output report to a collection of the keyboard (the control collection's 64-byte
  // packets, the 'LED' collection's key-bank report); false when it could not be sent. Any thread.
  virtual bool Send(Collection collection, std::span<const std::uint8_t> report) = 0;
};

}  // namespace vendrel::quorva
