#pragma once
// The keyboard's units registered with the HID service library, the key-bank state sent back to
// the keyboard, and the dispatch of every notification the library delivers.
#include <atomic>
#include <cstdint>
#include <vector>

#include "device/connection_events.h"
#include "device/hid_library.h"

namespace vendrel::device {

class Exchange;
class ConnectionWorker;
class MacroIndicator;

// Event codes the keyboard sends on 'CONS'.
inline constexpr std::uint16_t kCodeBankKey = 0x02FF;
inline constexpr std::uint16_t kCodeLightingChanged = 0x0401;
inline constexpr std::uint16_t kCodeMacroEnded = 0x1810;
inline constexpr std::uint16_t kCodeMacroStarted = 0x1811;

// Key-bank output report: byte 0 fixed, byte 1 = base plus the active bank in bit 0.
inline constexpr std::uint8_t kBankReportId = 0x05;
inline constexpr std::uint8_t kBankBase = 0x02;
inline constexpr std::uint8_t kBankBit = 0x01;

class DeviceUnits final : public HidEventSink {
 public:
  // Attach notifications go to connection_worker, macro playback to indicator; both must
  // outlive the library's last call into this object.
  DeviceUnits(HidLibrary& library, Exchange& exchange, ConnectionWorker& connection_worker,
              MacroIndicator& indicator, ConnectionEvents& events);

  // Registers 'CONS', clears the reply slot, registers 'CTRL' (in that order).
  void RegisterUnits();

  // Sends the current key-bank state as the 'LED' output report.
  void WriteBankState();

  // 0 = bank A, 1 = bank B.
  int GBank() const { return bank_byte_.load() & kBankBit; }
  std::vector<std::uint8_t> BankState() const;

  int OnHidEvent(const HidEvent& event) override;

 private:
  void OnConsumerCode(std::uint16_t code);

  HidLibrary& library_;
  Exchange& exchange_;
  ConnectionWorker& connection_worker_;
  MacroIndicator& indicator_;
  ConnectionEvents& events_;
  std::atomic<std::uint8_t> bank_byte_{kBankBase};
  std::uint32_t cons_unit_ = 0;
  std::uint32_t ctrl_unit_ = 0;
  std::atomic<std::uint32_t> led_unit_{0};
};

}  // namespace vendrel::device
