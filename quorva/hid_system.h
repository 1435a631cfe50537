#pragma once
// The few calls of the Windows HID API that the library's hardware backend makes, behind an
// interface so that the backend's logic runs against a fake of it in tests. The real one is
// WinHidSystem (win_hid_system.h). No Windows types here.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vendrel::quorva {

// What identifies an open HID interface: the device's attributes and its top collection's caps.
struct HidIdentity {
  std::uint16_t vendor_id = 0;
  std::uint16_t product_id = 0;
  std::uint16_t usage_page = 0;
  std::uint16_t usage = 0;
  // Report lengths as the HID API counts them, the report number byte included; 0 = none.
  std::uint16_t input_report_bytes = 0;
  std::uint16_t output_report_bytes = 0;
};

// An open interface as the system numbers it; 0 is none. Numbers are not reused.
using HidHandle = std::uint32_t;

// What the system reports. Every call comes on the system's own thread, one at a time.
class HidSystemEvents {
 public:
  virtual ~HidSystemEvents() = default;
  // First call after Start: the device-change subscription is in place, so an interface that
  // arrives from now on is reported, and the present ones can be enumerated.
  virtual void OnSystemStarted() = 0;
  virtual void OnInterfaceArrived(const std::wstring& path) = 0;
  virtual void OnInterfaceRemoved(const std::wstring& path) = 0;
  // One input report read from an interface that StartReading was called for.
  virtual void OnInputReport(HidHandle handle, std::span<const std::uint8_t> report) = 0;
  // A read failed (the device went away, most often); no more reports come from this handle.
  virtual void OnReadFailed(HidHandle handle) = 0;
};

class HidSystem {
 public:
  virtual ~HidSystem() = default;
  // Starts the system's thread, which follows device arrival and removal and reads input reports
  // without polling, and reports to `events`. False when it cannot start.
  virtual bool Start(HidSystemEvents& events) = 0;
  // Device paths of the HID interfaces present now.
  virtual std::vector<std::wstring> InterfacePaths() = 0;
  // Opens an interface; 0 when it cannot be opened (gone, or held exclusively by the system).
  virtual HidHandle Open(const std::wstring& path) = 0;
  virtual std::optional<HidIdentity> Identify(HidHandle handle) = 0;
  // Keeps a read of input reports of `report_bytes` pending on the handle from now on. Called on
  // the system's thread. False when the first read cannot be started.
  virtual bool StartReading(HidHandle handle, std::size_t report_bytes) = 0;
  // Writes one output report (its first byte is the report number); waits for the device to take
  // it. Any thread. False when the handle is closed, the write failed or took too long.
  virtual bool Write(HidHandle handle, std::span<const std::uint8_t> report) = 0;
  // Stops reading and closes; the handle is unknown afterwards. Called on the system's thread.
  virtual void Close(HidHandle handle) = 0;
};

}  // namespace vendrel::quorva
