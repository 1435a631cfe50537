#pragma once
// The library's connection to kbsim (address "host:port" from QUORVA_SIM). A reader thread
// connects, reconnects after a loss, and hands every frame from the keyboard to the receiver.
#include <winsock2.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <thread>

namespace vendrel::quorva {

class LinkReceiver {
 public:
  virtual ~LinkReceiver() = default;
  // Called on the reader thread.
  virtual void OnAttachCount(std::uint32_t count) = 0;
  virtual void OnControlReply(std::span<const std::uint8_t> packet) = 0;
  virtual void OnConsumerReport(std::span<const std::uint8_t> report) = 0;
};

class SimLink {
 public:
  explicit SimLink(LinkReceiver& receiver) : receiver_(receiver) {}
  SimLink(const SimLink&) = delete;
  SimLink& operator=(const SimLink&) = delete;

  // Starts the reader thread and waits a moment for the keyboard's first attach report, so a
  // presence check right after Init sees the truth. False when the address is malformed.
  bool Start(const std::string& address);

  // Attached keyboards as kbsim last reported; 0 while not connected.
  std::uint32_t AttachCount() const { return attach_count_.load(); }

  // Sends one frame; false when not connected or the send failed.
  bool Send(std::uint8_t type, std::span<const std::uint8_t> payload);

 private:
  void ReaderLoop();
  void ServeConnection(SOCKET socket);
  void SetAttachCount(std::uint32_t count);

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
