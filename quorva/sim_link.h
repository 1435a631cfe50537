#pragma once
// The library's connection to kbsim (address "host:port" from QUORVA_SIM). A reader thread
// connects, reconnects after a loss, and hands every frame from the keyboard to the receiver.
// While kbsim is gone the thread sleeps until kbsim announces itself (SimWake).
#include <winsock2.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <thread>

#include "quorva/link.h"

namespace vendrel::quorva {

class SimLink final : public Link {
 public:
  explicit SimLink(LinkReceiver& receiver) : receiver_(receiver) {}
  SimLink(const SimLink&) = delete;
  SimLink& operator=(const SimLink&) = delete;

  // Starts the reader thread and waits a moment for the keyboard's first attach report, so a
  // presence check right after Init sees the truth. False when the address is malformed.
  bool Start(const std::string& address);

  // Attached keyboards as kbsim last reported; 0 while not connected.
  std::uint32_t AttachCount() const override { return attach_count_.load(); }

  // Sends the report as the collection's frame; false when not connected or the send failed.
  bool Send(Collection collection, std::span<const std::uint8_t> report) override;

 private:
  void ReaderLoop();
  void ServeConnection(SOCKET socket);
  void SetAttachCount(std::uint32_t count);
  void ReleaseStart();
  bool SendFrame(std::uint8_t type, std::span<const std::uint8_t> payload);

  LinkReceiver& receiver_;
  std::string host_;
  std::uint16_t port_ = 0;
  std::thread reader_;
  std::mutex send_mutex_;  // also guards socket_
  SOCKET socket_ = INVALID_SOCKET;
  std::atomic<std::uint32_t> attach_count_{0};
  std::mutex first_mutex_;
  std::condition_variable first_report_;
  bool first_seen_ = false;
};

}  // namespace vendrel::quorva
