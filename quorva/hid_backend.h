#pragma once
// The library's backend for a real keyboard: finds the keyboard's collections among the HID
// interfaces (vendor and product id, then each collection's usage page and usage), reads the
// control replies and consumer events, writes output reports, and turns interface arrival and
// removal, and reads that fail on an open interface, into attach counts. All of it runs on the
// HID system's own thread except Send and AttachCount, which any thread may call.
#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>

#include "quorva/hid_system.h"
#include "quorva/link.h"

namespace vendrel::quorva {

class HidBackend final : public Link, private HidSystemEvents {
 public:
  HidBackend(HidSystem& system, LinkReceiver& receiver) : system_(system), receiver_(receiver) {}
  HidBackend(const HidBackend&) = delete;
  HidBackend& operator=(const HidBackend&) = delete;

  // Starts the system and waits for the first look at the present interfaces, so a presence check
  // right after Init sees the truth. False when the system cannot start.
  bool Start();

  // 1 while the keyboard's control collection is open (commands go there), else 0.
  std::uint32_t AttachCount() const override { return attach_count_.load(); }
  bool Send(Collection collection, std::span<const std::uint8_t> report) override;

 private:
  struct Opened {
    std::wstring path;
    HidHandle handle = 0;
    std::size_t output_report_bytes = 0;
  };

  void OnSystemStarted() override;
  void OnInterfaceArrived(const std::wstring& path) override;
  void OnInterfaceRemoved(const std::wstring& path) override;
  void OnInputReport(HidHandle handle, std::span<const std::uint8_t> report) override;
  void OnReadFailed(HidHandle handle) override;

  void Consider(const std::wstring& path);
  // Opens and checks an interface; the collection it was taken for, or None (then it is closed).
  Collection Take(const std::wstring& path);
  void Drop(Collection collection);
  Collection CollectionOfHandle(HidHandle handle) const;
  void ReportAttachCount();

  HidSystem& system_;
  LinkReceiver& receiver_;
  // One interface per collection: index by Collection. Guarded by mutex_, written on the
  // system's thread only.
  mutable std::mutex mutex_;
  std::array<Opened, 4> opened_{};
  std::atomic<std::uint32_t> attach_count_{0};
  std::mutex started_mutex_;
  std::condition_variable started_;
  bool first_scan_done_ = false;
};

}  // namespace vendrel::quorva
