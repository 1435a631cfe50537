// Reply frames from the keyboard: every request the command set sends is answered with the next
// piece of the input, delivered the way the HID library delivers it (through DeviceUnits), with
// consumer events in between. Waits are zero and the sleeper returns at once.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "device/command_set.h"
#include "device/connection.h"
#include "device/connection_events.h"
#include "device/connection_worker.h"
#include "device/descriptors.h"
#include "device/device_units.h"
#include "device/exchange.h"
#include "device/macro_indicator.h"
#include "device/packet_frame.h"
#include "fuzz/support/fuzz_input.h"
#include "keys/default_key_map.h"

namespace {

using namespace vendrel::device;
using vendrel::fuzz::FuzzInput;

class NoSleep final : public vendrel::platform::Sleeper {
 public:
  void Sleep(std::chrono::milliseconds) override {}
};

class QuietEvents final : public ConnectionEvents {
 public:
  void Attached() override {}
  void Detached() override {}
  bool ReadyForConnection() const override { return true; }
  void ConnectionSettled(bool) override {}
  void ConnectionQuiet(bool) override {}
  void BankChanged() override {}
  void LightingChanged() override {}
  void MacroStarted() override {}
  void MacroEnded() override {}
};

// The connection worker reads the keyboard on its own thread; it gets a library of its own that
// never answers, so that the input is read by the fuzzed exchanges alone.
class SilentLibrary final : public HidLibrary {
 public:
  void SetEventSink(HidEventSink*) override {}
  std::uint32_t CallbackAddress() const override { return 0x401000; }
  std::int32_t Init(std::uint32_t) override { return 1; }
  std::int32_t RequestGetDeviceCount(const Descriptor&, std::uint32_t, Tag, std::uint32_t,
                                     std::uint32_t) override {
    return 0;
  }
  std::int32_t DeleteRequestFromUnitId(std::uint32_t) override { return 1; }
  std::int32_t RequestAsyncRead(const Descriptor&, std::uint32_t, Tag, std::uint32_t,
                                std::uint32_t*) override {
    return 1;
  }
  std::int32_t RequestStatusWrite(const Descriptor&, std::uint32_t, Tag, const std::uint8_t*,
                                  std::uint32_t, std::uint32_t, std::uint32_t*) override {
    return 1;
  }
  std::int32_t RequestWriteOne(const Descriptor&, std::uint32_t, Tag, const std::uint8_t*,
                               std::uint32_t, std::uint32_t, std::uint32_t) override {
    return 1;
  }
};

// Answers each packet written with the next piece of the input.
class ScriptedLibrary final : public HidLibrary {
 public:
  explicit ScriptedLibrary(FuzzInput& input) : input_(input) {}

  void SetEventSink(HidEventSink* sink) override { sink_ = sink; }
  std::uint32_t CallbackAddress() const override { return 0x401000; }
  std::int32_t Init(std::uint32_t) override { return 1; }
  std::int32_t RequestGetDeviceCount(const Descriptor&, std::uint32_t, Tag, std::uint32_t,
                                     std::uint32_t) override {
    return 1;
  }
  std::int32_t DeleteRequestFromUnitId(std::uint32_t) override { return 1; }
  std::int32_t RequestAsyncRead(const Descriptor&, std::uint32_t, Tag, std::uint32_t,
                                std::uint32_t* unit_id) override {
    if (unit_id != nullptr) *unit_id = ++units_;
    return 1;
  }
  std::int32_t RequestStatusWrite(const Descriptor&, std::uint32_t, Tag, const std::uint8_t*,
                                  std::uint32_t, std::uint32_t, std::uint32_t* unit_id) override {
    if (unit_id != nullptr) *unit_id = ++units_;
    return 1;
  }
  std::int32_t RequestWriteOne(const Descriptor&, std::uint32_t, Tag, const std::uint8_t*,
                               std::uint32_t, std::uint32_t, std::uint32_t) override {
    if (sink_ == nullptr || input_.Empty()) return 1;  // sent, never answered
    const std::uint8_t control = input_.U8();
    if ((control & 0x80) != 0) {
      // A consumer event arrives first.
      const auto code = input_.Bytes(2);
      sink_->OnHidEvent({kEventDataArrived, kTagCons, static_cast<std::uint32_t>(code.size()), code});
    }
    const std::size_t length = (control & 0x40) != 0 ? kPacketSize : (control & 0x3F) + 1u;
    const auto report = input_.Bytes(length);
    // The count the library reports may disagree with the bytes it hands over.
    const std::uint32_t count = (control & 0x20) != 0 ? input_.U8() : static_cast<std::uint32_t>(report.size());
    sink_->OnHidEvent({kEventDataArrived, kTagCtrl, count, report});
    return 1;
  }

 private:
  FuzzInput& input_;
  HidEventSink* sink_ = nullptr;
  std::uint32_t units_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  ScriptedLibrary library(input);
  NoSleep sleeper;
  const DeviceTimings instant{std::chrono::milliseconds(0), std::chrono::milliseconds(0),
                              std::chrono::milliseconds(0), std::chrono::milliseconds(0),
                              std::chrono::milliseconds(0), std::chrono::milliseconds(0)};
  Exchange exchange(library, sleeper, instant);
  CommandSet commands(exchange);
  QuietEvents events;
  SilentLibrary silent;
  Exchange silent_exchange(silent, sleeper, instant);
  CommandSet silent_commands(silent_exchange);
  Connection connection(silent_commands, events, vendrel::keys::kDefaultKeyMap);
  ConnectionWorker connection_worker(connection);
  MacroIndicator indicator(events, sleeper, std::chrono::milliseconds(0));
  DeviceUnits units(library, exchange, connection_worker, indicator, events);
  library.SetEventSink(&units);
  units.RegisterUnits();

  while (!input.Empty()) {
    switch (input.U8() % 8) {
      case 0: {
        InfoBlock info{};
        commands.ReadInformation(info);
        break;
      }
      case 1: {
        KeyMapBytes map{};
        commands.ReadKeyMap(map, input.U8() % 4);
        break;
      }
      case 2: {
        KeyMapBytes map{};
        commands.ReadDefaultKeyMap(map);
        break;
      }
      case 3: {
        std::vector<std::uint8_t> macro(input.U16() % 4096);
        commands.ReadMacroArea(macro, static_cast<std::uint32_t>(macro.size()));
        break;
      }
      case 4: {
        std::array<std::uint8_t, kLightingReadSize> lighting{};
        commands.ReadLightingArea(lighting, input.U8(), input.U16());
        break;
      }
      case 5: {
        const int profile = commands.GetActiveProfile();
        if (profile >= kProfileCount) std::abort();
        break;
      }
      case 6:
        commands.SetActiveProfile(input.U8() % 4);
        break;
      default: {
        const std::array<std::uint8_t, 4> payload{input.U8(), input.U8(), input.U8(), input.U8()};
        std::array<std::uint8_t, kPacketSize> reply{};
        exchange.Run(BuildRequest(input.U8(), input.U8(), input.U16(), payload), reply);
        break;
      }
    }
  }
  if (units.GBank() != 0 && units.GBank() != 1) std::abort();
  return 0;
}
