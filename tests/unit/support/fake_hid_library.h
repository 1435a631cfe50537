#pragma once
// A HID service library with the keyboard model behind it. Like the real library it answers on a
// thread of its own: replies and notifications are queued and delivered through the registered
// callback after the model's latency. It checks every call's check value and keeps what it saw.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "device/hid_library.h"
#include "device/packet_frame.h"
#include "sim/model/keyboard_model.h"

namespace vendrel::testing {

class FakeHidLibrary final : public device::HidLibrary {
 public:
  static constexpr std::uint32_t kCallbackAddress = 0x10012340;

  explicit FakeHidLibrary(int attached = 1);
  ~FakeHidLibrary() override;

  // HidLibrary
  void SetEventSink(device::HidEventSink* sink) override;
  std::uint32_t CallbackAddress() const override { return kCallbackAddress; }
  std::int32_t Init(std::uint32_t flags) override;
  std::int32_t RequestGetDeviceCount(const device::Descriptor& descriptor, std::uint32_t callback,
                                     device::Tag tag, std::uint32_t check,
                                     std::uint32_t reserved) override;
  std::int32_t DeleteRequestFromUnitId(std::uint32_t unit_id) override;
  std::int32_t RequestAsyncRead(const device::Descriptor& descriptor, std::uint32_t callback,
                                device::Tag tag, std::uint32_t check,
                                std::uint32_t* unit_id) override;
  std::int32_t RequestStatusWrite(const device::Descriptor& descriptor, std::uint32_t callback,
                                  device::Tag tag, const std::uint8_t* data, std::uint32_t length,
                                  std::uint32_t check, std::uint32_t* unit_id) override;
  std::int32_t RequestWriteOne(const device::Descriptor& descriptor, std::uint32_t callback,
                               device::Tag tag, const std::uint8_t* data, std::uint32_t length,
                               std::uint32_t check, std::uint32_t reserved) override;

  // The keyboard, under the library's lock.
  template <class F>
  auto WithModel(F&& f) {
    std::lock_guard lock(mutex_);
    return f(model_);
  }

  // Plugs or unplugs: changes the count and, when notify, reports it on 'CTRL' (kind 0).
  void SetAttached(int count, bool notify);
  // The keyboard sends an event code on 'CONS'.
  void SendConsumerCode(std::uint16_t code);
  // Any event, delivered like the library's own.
  void Deliver(std::uint32_t kind, device::Tag tag, std::uint32_t count,
               std::vector<std::uint8_t> bytes);
  // Delivers every queued event and waits until the callback has returned from the last one.
  void Drain();

  // RequestWriteOne fails (returns 0) from the n-th call on, counting from 1; 0 = never.
  void RefuseWritesFrom(int n);
  // RequestWriteOne fails (returns 0) on the n-th call alone, counting from 1 from here on; the
  // calls before and after it go through, so the link stays up. 0 = never.
  void RefuseOnlyWrite(int n);
  // Replies are also delivered this many extra times, to test duplicates.
  void SetDuplicateReplies(int extra);

  std::vector<device::Packet> SentPackets() const;
  std::vector<std::vector<std::uint8_t>> StatusWrites() const;
  // Names of the calls made, in order, with the tag where there is one ("RequestAsyncRead CONS").
  std::vector<std::string> Calls() const;
  int BadChecks() const;
  int CountRequests() const;

 private:
  struct Pending {
    std::chrono::steady_clock::time_point due;
    std::uint32_t kind;
    device::Tag tag;
    std::uint32_t count;
    std::vector<std::uint8_t> bytes;
  };

  bool CheckOk(const device::Descriptor& d, std::uint32_t callback, device::Tag tag,
               std::uint32_t check, const std::uint8_t* data, std::uint32_t length);
  void EnqueueLocked(Pending p);
  void Run();

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  sim::KeyboardModel model_;
  device::HidEventSink* sink_ = nullptr;
  int attached_ = 0;
  bool cons_registered_ = false;
  bool ctrl_registered_ = false;
  std::uint32_t next_unit_ = 0;
  int write_calls_ = 0;
  int refuse_from_ = 0;
  int refuse_only_ = 0;
  int duplicates_ = 0;
  int bad_checks_ = 0;
  int count_requests_ = 0;
  bool delivering_ = false;
  bool stop_ = false;
  std::deque<Pending> queue_;
  std::vector<device::Packet> sent_;
  std::vector<std::vector<std::uint8_t>> status_writes_;
  std::vector<std::string> calls_;
  std::thread thread_;
};

}  // namespace vendrel::testing
