#pragma once
// The one place where a command reply meets the exchange waiting for it. The notification callback
// copies a reply in only while an exchange waits, under the slot's lock, and only into the buffer
// of the exchange that armed the slot, so a late reply never writes into a buffer that has been
// left. The signal resets automatically when an exchange takes it.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>

namespace vendrel::device {

class ReplySlot {
 public:
  using Ticket = std::uint64_t;

  enum class WaitResult { Signalled, TimedOut };

  // The waiting flag: set while an exchange waits for its reply.
  bool Waiting() const { return waiting_.load(std::memory_order_acquire); }

  // Clears the flag whoever set it (used at registration and to take over an abandoned slot).
  void Clear();

  // Points the slot at destination, resets the signal and sets the waiting flag. The ticket names
  // this arming; a later Arm takes the slot over.
  Ticket Arm(std::span<std::uint8_t> destination);

  // Waits until a reply for this ticket was copied, or the time passed.
  WaitResult Wait(Ticket ticket, std::chrono::milliseconds limit);

  // Bytes copied for this ticket (0 when the slot was taken over).
  std::uint32_t ReceivedLength(Ticket ticket) const;

  // Clears the flag and forgets the destination, unless the slot was taken over since.
  void Disarm(Ticket ticket);

  // From the callback: copies min(report, capacity) bytes while armed and signals; otherwise drops
  // the report. Returns whether it was taken.
  bool Deliver(std::span<const std::uint8_t> report);

 private:
  mutable std::mutex mutex_;
  std::condition_variable signal_;
  std::atomic<bool> waiting_{false};
  Ticket owner_ = 0;       // ticket of the arming the destination belongs to
  Ticket next_ticket_ = 0;
  std::span<std::uint8_t> destination_;
  std::uint32_t received_ = 0;
  bool signalled_ = false;
};

}  // namespace vendrel::device
