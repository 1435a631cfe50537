#include "device/reply_slot.h"

#include <algorithm>

namespace vendrel::device {

void ReplySlot::Clear() {
  std::lock_guard lock(mutex_);
  destination_ = {};
  owner_ = 0;
  signalled_ = false;
  waiting_.store(false, std::memory_order_release);
}

ReplySlot::Ticket ReplySlot::Arm(std::span<std::uint8_t> destination) {
  std::lock_guard lock(mutex_);
  owner_ = ++next_ticket_;
  destination_ = destination;
  received_ = 0;
  signalled_ = false;
  waiting_.store(true, std::memory_order_release);
  return owner_;
}

ReplySlot::WaitResult ReplySlot::Wait(Ticket ticket, std::chrono::milliseconds limit) {
  std::unique_lock lock(mutex_);
  const bool got = signal_.wait_for(lock, limit, [&] { return signalled_ && owner_ == ticket; });
  if (!got) return WaitResult::TimedOut;
  signalled_ = false;  // automatic reset: the signal is consumed by the one who took it
  return WaitResult::Signalled;
}

std::uint32_t ReplySlot::ReceivedLength(Ticket ticket) const {
  std::lock_guard lock(mutex_);
  return owner_ == ticket ? received_ : 0;
}

void ReplySlot::Disarm(Ticket ticket) {
  std::lock_guard lock(mutex_);
  if (owner_ != ticket) return;  // taken over: the flag belongs to the newer exchange now
  destination_ = {};
  owner_ = 0;
  signalled_ = false;
  waiting_.store(false, std::memory_order_release);
}

bool ReplySlot::Deliver(std::span<const std::uint8_t> report) {
  {
    std::lock_guard lock(mutex_);
    if (!waiting_.load(std::memory_order_relaxed) || owner_ == 0) return false;
    const std::size_t n = std::min(report.size(), destination_.size());
    std::copy_n(report.begin(), n, destination_.begin());
    received_ = static_cast<std::uint32_t>(n);
    signalled_ = true;
  }
  signal_.notify_all();
  return true;
}

}  // namespace vendrel::device
