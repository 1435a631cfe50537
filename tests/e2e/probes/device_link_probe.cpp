// Drives Quorva.dll through the program's own device link (loader, adapter, units, exchange,
// command set) under Wine, printing one line per step for tests/e2e/device_link.sh, which checks
// each line against kbsim's memory and packet log. Exit code 0 only when every step worked.
//
// Lines: "loaded", "registered", "present N", "info HEX", "keymap HEX", "macro HEX",
// "refused RESULT", "foreign COUNT", "accepted RESULT", "await-events", "event attach N", "event cons XXXX",
// "bank HEX", "done"; on a failure "FAIL what" and exit code 1.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <array>
#include <condition_variable>
#include <cstdarg>
#include <cstdio>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "device/check_value.h"
#include "device/command_set.h"
#include "device/connection.h"
#include "device/connection_worker.h"
#include "device/descriptors.h"
#include "device/device_units.h"
#include "device/exchange.h"
#include "device/macro_indicator.h"
#include "device/packet_frame.h"
#include "device/results.h"
#include "device/win32/quorva_hid_library.h"
#include "device/win32/quorva_loader.h"
#include "keys/default_key_map.h"
#include "platform/sleeper.h"

namespace {

using namespace vendrel::device;

void Say(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vprintf(format, args);
  va_end(args);
  std::printf("\n");
  std::fflush(stdout);
}

[[noreturn]] void Fail(const std::string& what) {
  Say("FAIL %s", what.c_str());
  ExitProcess(1);
}

std::string Hex(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (const auto b : bytes) {
    text.push_back(kDigits[b >> 4]);
    text.push_back(kDigits[b & 0x0F]);
  }
  return text;
}

// The program's part, reduced to what a probe needs: events change nothing.
class ProbeEvents final : public ConnectionEvents {
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

// Sits between the library and the device link's sink, noting every event that arrived through
// the library's callback and passing it on unchanged.
class TappedLibrary final : public HidLibrary, public HidEventSink {
 public:
  explicit TappedLibrary(HidLibrary& inner) : inner_(inner) {}

  void SetEventSink(HidEventSink* sink) override {
    sink_ = sink;
    inner_.SetEventSink(this);
  }
  std::uint32_t CallbackAddress() const override { return inner_.CallbackAddress(); }
  std::int32_t Init(std::uint32_t flags) override { return inner_.Init(flags); }
  std::int32_t RequestGetDeviceCount(const Descriptor& d, std::uint32_t cb, Tag tag, std::uint32_t check,
                                     std::uint32_t reserved) override {
    return inner_.RequestGetDeviceCount(d, cb, tag, check, reserved);
  }
  std::int32_t DeleteRequestFromUnitId(std::uint32_t id) override { return inner_.DeleteRequestFromUnitId(id); }
  std::int32_t RequestAsyncRead(const Descriptor& d, std::uint32_t cb, Tag tag, std::uint32_t check,
                                std::uint32_t* unit_id) override {
    return inner_.RequestAsyncRead(d, cb, tag, check, unit_id);
  }
  std::int32_t RequestStatusWrite(const Descriptor& d, std::uint32_t cb, Tag tag, const std::uint8_t* data,
                                  std::uint32_t length, std::uint32_t check, std::uint32_t* unit_id) override {
    return inner_.RequestStatusWrite(d, cb, tag, data, length, check, unit_id);
  }
  std::int32_t RequestWriteOne(const Descriptor& d, std::uint32_t cb, Tag tag, const std::uint8_t* data,
                               std::uint32_t length, std::uint32_t check, std::uint32_t reserved) override {
    return inner_.RequestWriteOne(d, cb, tag, data, length, check, reserved);
  }

  // Passed on first, so that when the probe sees an event the link has finished acting on it.
  int OnHidEvent(const HidEvent& event) override {
    const int result = sink_ != nullptr ? sink_->OnHidEvent(event) : 1;
    if (event.tag == kTagCtrl && event.kind == kEventAttachChanged) {
      Note("event attach " + std::to_string(event.count));
    } else if (event.tag == kTagCons && event.kind == kEventDataArrived && event.report.size() >= 2) {
      char code[8];
      std::snprintf(code, sizeof code, "%04X", event.report[0] | (event.report[1] << 8));
      Note(std::string("event cons ") + code);
    }
    return result;
  }

  // Waits for the next noted event; the line, or empty after the time limit.
  std::string NextEvent(std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    if (!arrived_.wait_for(lock, limit, [this] { return !events_.empty(); })) return {};
    std::string line = events_.front();
    events_.pop_front();
    return line;
  }

 private:
  void Note(std::string line) {
    {
      std::lock_guard lock(mutex_);
      events_.push_back(std::move(line));
    }
    arrived_.notify_all();
  }

  HidLibrary& inner_;
  HidEventSink* sink_ = nullptr;
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<std::string> events_;
};

// A recognisable, position-dependent pattern, so a shifted or partial write shows.
std::vector<std::uint8_t> Pattern(std::size_t size, std::uint8_t seed) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>((i * 7 + seed) & 0xFF);
  return bytes;
}

void Expect(int result, const char* what) {
  if (result != 1) Fail(std::string(what) + " returned " + std::to_string(result));
}

}  // namespace

int main() {
  // Plain "\n" line ends, so the scenario script reads the lines as they are.
  _setmode(_fileno(stdout), _O_BINARY);
  const QuorvaEntryPoints entry = LoadQuorvaOrExit();
  Say("loaded");

  QuorvaHidLibrary quorva(entry);
  TappedLibrary library(quorva);
  ProbeEvents events;
  DeviceTimings timings;
  Exchange exchange(library, vendrel::platform::SystemSleeper(), timings);
  CommandSet commands(exchange);
  Connection connection(commands, events, vendrel::keys::kDefaultKeyMap);
  ConnectionWorker connection_worker(connection);
  MacroIndicator indicator(events, vendrel::platform::SystemSleeper(), timings.indicator_poll);
  DeviceUnits units(library, exchange, connection_worker, indicator, events);
  units.RegisterUnits();
  Say("registered");

  const int present = connection.PresenceCheck();
  Say("present %d", present);
  if (present != 1) Fail("no keyboard present");

  InfoBlock info{};
  Expect(commands.ReadInformation(info), "ReadInformation");
  Say("info %s", Hex(info).c_str());

  // Key map of the second profile, written in one transfer and read back.
  const auto keymap = Pattern(kKeyMapSize, 0x11);
  Expect(commands.BeginTransfer(), "BeginTransfer");
  Expect(commands.WriteKeyMap(std::span<const std::uint8_t, kKeyMapSize>(keymap.data(), kKeyMapSize), 1),
         "WriteKeyMap");
  Expect(commands.EndTransfer(), "EndTransfer");
  KeyMapBytes keymap_back{};
  Expect(commands.ReadKeyMap(keymap_back, 1), "ReadKeyMap");
  if (!std::equal(keymap.begin(), keymap.end(), keymap_back.begin())) Fail("key map read back differs");
  Say("keymap %s", Hex(keymap_back).c_str());

  // The first 200 bytes of macro memory: more than three packets, the last one partial.
  const auto macro = Pattern(200, 0x5A);
  Expect(commands.BeginTransfer(), "BeginTransfer");
  Expect(commands.WriteMacroArea(macro, static_cast<std::uint32_t>(macro.size())), "WriteMacroArea");
  Expect(commands.EndTransfer(), "EndTransfer");
  std::vector<std::uint8_t> macro_back(macro.size());
  Expect(commands.ReadMacroArea(macro_back, static_cast<std::uint32_t>(macro_back.size())), "ReadMacroArea");
  if (macro_back != macro) Fail("macro memory read back differs");
  Say("macro %s", Hex(macro_back).c_str());

  // A marked information read: first with a check value one off, which the library must refuse
  // without sending, then with the right one, which must go out and be answered.
  std::array<std::uint8_t, 8> marker{0xC4, 0xEC, 0xCA, 0x11, 0xED, 0xBA, 0xD0, 0x01};
  const Packet marked = BuildRequest(kCmdReadInformation, 0, 0, marker);
  const std::uint32_t good_check = CheckValue(kCtrlDescriptor, 0, 0, marked);
  const int refused = entry.RequestWriteOne(kCtrlDescriptor.data(), nullptr, 0, marked.data(), 64, good_check + 1, 0);
  Say("refused %d", refused);
  if (refused != 0) Fail("a write with a wrong check value was accepted");
  const int count_refused =
      entry.RequestGetDeviceCount(kCtrlDescriptor.data(), nullptr, 0, CheckValue(kCtrlDescriptor, 0, 0) ^ 0x100, 0);
  if (count_refused != 0) Fail("a presence count with a wrong check value was answered");
  // A descriptor of another product, with a right check value, finds no keyboard.
  const Descriptor foreign = MakeDescriptor(kVendorId, static_cast<std::uint16_t>(kProductId + 1), kCtrlUsagePage,
                                            kCtrlUsage);
  const int foreign_count =
      entry.RequestGetDeviceCount(foreign.data(), nullptr, 0, CheckValue(foreign, 0, 0), 0);
  Say("foreign %d", foreign_count);
  if (foreign_count != 0) Fail("another product's descriptor found our keyboard");
  Packet reply{};
  const int accepted = ResultCode(exchange.Run(marked, reply));
  Say("accepted %d", accepted);
  if (accepted != 1 || PacketCommand(reply) != kCmdReadInformation) Fail("the marked read was not answered");

  // kbsim is now told to unplug, plug in and press the bank key; each must come through the callback.
  Say("await-events");
  for (const char* expected : {"event attach 0", "event attach 1", "event cons 02FF"}) {
    const std::string got = library.NextEvent(std::chrono::seconds(15));
    if (got.empty()) Fail(std::string("timed out waiting for ") + expected);
    Say("%s", got.c_str());
    if (got != expected) Fail("expected " + std::string(expected));
  }
  // The bank key flipped the bank and the link wrote the new state back to the keyboard.
  Say("bank %s", Hex(units.BankState()).c_str());
  if (units.GBank() != 1) Fail("bank key did not switch to bank B");
  Say("done");
  std::fflush(stdout);
  // The library's threads run until the process ends; leave without unloading anything.
  ExitProcess(0);
}
