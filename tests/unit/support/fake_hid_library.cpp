#include "support/fake_hid_library.h"

#include <algorithm>

#include "device/check_value.h"
#include "device/descriptors.h"

namespace vendrel::testing {
namespace {

std::string TagName(device::Tag tag) {
  std::string s;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const char c = static_cast<char>((tag >> shift) & 0xFF);
    if (c != 0) s.push_back(c);
  }
  return s;
}

}  // namespace

FakeHidLibrary::FakeHidLibrary(int attached) : attached_(attached), thread_([this] { Run(); }) {}

FakeHidLibrary::~FakeHidLibrary() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void FakeHidLibrary::SetEventSink(device::HidEventSink* sink) {
  std::lock_guard lock(mutex_);
  sink_ = sink;
}

std::int32_t FakeHidLibrary::Init(std::uint32_t) {
  std::lock_guard lock(mutex_);
  calls_.push_back("Init");
  return 1;
}

bool FakeHidLibrary::CheckOk(const device::Descriptor& d, std::uint32_t callback, device::Tag tag,
                             std::uint32_t check, const std::uint8_t* data, std::uint32_t length) {
  const std::uint32_t expected =
      device::CheckValue(d, callback, tag, std::span<const std::uint8_t>(data, data ? length : 0));
  if (expected == check) return true;
  ++bad_checks_;
  return false;
}

std::int32_t FakeHidLibrary::RequestGetDeviceCount(const device::Descriptor& descriptor,
                                                   std::uint32_t callback, device::Tag tag,
                                                   std::uint32_t check, std::uint32_t) {
  std::lock_guard lock(mutex_);
  ++count_requests_;
  if (!CheckOk(descriptor, callback, tag, check, nullptr, 0)) return 0;
  return descriptor == device::kCtrlDescriptor ? attached_ : 0;
}

std::int32_t FakeHidLibrary::DeleteRequestFromUnitId(std::uint32_t unit_id) {
  std::lock_guard lock(mutex_);
  calls_.push_back("DeleteRequestFromUnitId " + std::to_string(unit_id));
  return 1;
}

std::int32_t FakeHidLibrary::RequestAsyncRead(const device::Descriptor& descriptor,
                                              std::uint32_t callback, device::Tag tag,
                                              std::uint32_t check, std::uint32_t* unit_id) {
  std::lock_guard lock(mutex_);
  calls_.push_back("RequestAsyncRead " + TagName(tag));
  if (!CheckOk(descriptor, callback, tag, check, nullptr, 0) || callback != kCallbackAddress) {
    return 0;
  }
  if (tag == device::kTagCons && descriptor == device::kConsDescriptor) cons_registered_ = true;
  if (tag == device::kTagCtrl && descriptor == device::kCtrlDescriptor) ctrl_registered_ = true;
  if (unit_id != nullptr) *unit_id = ++next_unit_;
  return 1;
}

std::int32_t FakeHidLibrary::RequestStatusWrite(const device::Descriptor& descriptor,
                                                std::uint32_t callback, device::Tag tag,
                                                const std::uint8_t* data, std::uint32_t length,
                                                std::uint32_t check, std::uint32_t* unit_id) {
  std::lock_guard lock(mutex_);
  calls_.push_back("RequestStatusWrite " + TagName(tag));
  if (!CheckOk(descriptor, callback, tag, check, data, length)) return 0;
  if (descriptor != device::kLedDescriptor || attached_ == 0) return 0;
  const std::span<const std::uint8_t> bytes(data, length);
  status_writes_.emplace_back(bytes.begin(), bytes.end());
  model_.HandleBankReport(bytes);
  if (unit_id != nullptr) *unit_id = ++next_unit_;
  return 1;
}

std::int32_t FakeHidLibrary::RequestWriteOne(const device::Descriptor& descriptor,
                                             std::uint32_t callback, device::Tag tag,
                                             const std::uint8_t* data, std::uint32_t length,
                                             std::uint32_t check, std::uint32_t) {
  std::lock_guard lock(mutex_);
  ++write_calls_;
  if (refuse_from_ > 0 && write_calls_ >= refuse_from_) return 0;
  if (refuse_only_ > 0 && write_calls_ == refuse_only_) return 0;
  if (!CheckOk(descriptor, callback, tag, check, data, length)) return 0;
  if (descriptor != device::kCtrlDescriptor || attached_ == 0 || length != device::kPacketSize) {
    return 0;
  }
  device::Packet packet{};
  std::copy_n(data, device::kPacketSize, packet.begin());
  sent_.push_back(packet);
  if (const std::optional<sim::Packet> reply = model_.HandleControlPacket(packet)) {
    const auto due = std::chrono::steady_clock::now() + model_.ReplyLatency();
    for (int i = 0; i <= duplicates_; ++i) {
      EnqueueLocked({due, device::kEventDataArrived, device::kTagCtrl,
                     static_cast<std::uint32_t>(reply->size()),
                     std::vector<std::uint8_t>(reply->begin(), reply->end())});
    }
  }
  return static_cast<std::int32_t>(length);
}

void FakeHidLibrary::SetAttached(int count, bool notify) {
  std::lock_guard lock(mutex_);
  attached_ = count;
  if (notify) {
    EnqueueLocked({std::chrono::steady_clock::now(), device::kEventAttachChanged,
                   device::kTagCtrl, static_cast<std::uint32_t>(count), {}});
  }
}

void FakeHidLibrary::SendConsumerCode(std::uint16_t code) {
  Deliver(device::kEventDataArrived, device::kTagCons, 2, sim::ConsumerEventReport(code));
}

void FakeHidLibrary::Deliver(std::uint32_t kind, device::Tag tag, std::uint32_t count,
                             std::vector<std::uint8_t> bytes) {
  std::lock_guard lock(mutex_);
  EnqueueLocked({std::chrono::steady_clock::now(), kind, tag, count, std::move(bytes)});
}

void FakeHidLibrary::EnqueueLocked(Pending p) {
  queue_.push_back(std::move(p));
  wake_.notify_all();
}

void FakeHidLibrary::Drain() {
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [&] { return queue_.empty() && !delivering_; });
}

void FakeHidLibrary::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    if (stop_) return;
    if (queue_.empty()) {
      idle_.notify_all();
      wake_.wait(lock);
      continue;
    }
    const auto due = queue_.front().due;
    if (std::chrono::steady_clock::now() < due) {
      wake_.wait_until(lock, due);
      continue;
    }
    Pending p = std::move(queue_.front());
    queue_.pop_front();
    // Like the library: events of units nobody registered go nowhere.
    const bool registered = (p.tag == device::kTagCons && cons_registered_) ||
                            (p.tag == device::kTagCtrl && ctrl_registered_);
    device::HidEventSink* sink = sink_;
    if (!registered || sink == nullptr) continue;
    delivering_ = true;
    lock.unlock();
    device::HidEvent event;
    event.kind = p.kind;
    event.tag = p.tag;
    event.count = p.count;
    event.report = p.bytes;
    sink->OnHidEvent(event);
    lock.lock();
    delivering_ = false;
  }
}

void FakeHidLibrary::RefuseWritesFrom(int n) {
  std::lock_guard lock(mutex_);
  refuse_from_ = n;
  write_calls_ = 0;
}

void FakeHidLibrary::RefuseOnlyWrite(int n) {
  std::lock_guard lock(mutex_);
  refuse_only_ = n;
  write_calls_ = 0;
}

void FakeHidLibrary::SetDuplicateReplies(int extra) {
  std::lock_guard lock(mutex_);
  duplicates_ = extra;
}

std::vector<device::Packet> FakeHidLibrary::SentPackets() const {
  std::lock_guard lock(mutex_);
  return sent_;
}

std::vector<std::vector<std::uint8_t>> FakeHidLibrary::StatusWrites() const {
  std::lock_guard lock(mutex_);
  return status_writes_;
}

std::vector<std::string> FakeHidLibrary::Calls() const {
  std::lock_guard lock(mutex_);
  return calls_;
}

int FakeHidLibrary::BadChecks() const {
  std::lock_guard lock(mutex_);
  return bad_checks_;
}

int FakeHidLibrary::CountRequests() const {
  std::lock_guard lock(mutex_);
  return count_requests_;
}

}  // namespace vendrel::testing
