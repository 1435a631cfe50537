// Quorva.dll's hardware backend against a fake HID system: which interfaces it takes for the
// keyboard, how it frames output reports, and how replies, events, removals and failed reads reach
// the library's units and their callback. A self-checking program (cross-built, run under Wine by
// CTest): one line per failed check, a summary, exit code 1 on any failure.
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "device/descriptors.h"
#include "device/hid_records.h"
#include "quorva/hid_backend.h"
#include "quorva/output_report.h"
#include "quorva/unit_table.h"
#include "tests/quorva/fake_hid_system.h"

namespace {

using namespace vendrel;
using namespace vendrel::quorva;
using quorva::testing::FakeHidSystem;
using quorva::testing::FakeInterface;
using quorva::testing::FakeWrite;
using Bytes = std::vector<std::uint8_t>;
namespace rec = device::records;

int g_checks = 0;
int g_failures = 0;
std::string g_case;

void Check(bool ok, const std::string& what, int line) {
  ++g_checks;
  if (ok) return;
  ++g_failures;
  std::printf("FAIL [%s] %s (line %d)\n", g_case.c_str(), what.c_str(), line);
  std::fflush(stdout);
}
#define CHECK(condition, what) Check((condition), (what), __LINE__)

std::string Hex(const Bytes& bytes) {
  std::string text;
  char digits[4];
  for (const auto b : bytes) {
    std::snprintf(digits, sizeof digits, "%02X", b);
    text += digits;
  }
  return text;
}

// ---- the keyboard and other devices, as enumeration shows them ----

const std::wstring kCtrlPath = L"\\\\?\\hid#vid_3a7c&pid_0b15&mi_01&col02#8&2f1a&0&0001#{4d1e55b2-f16f-11cf-88cb-001111000030}";
const std::wstring kConsPath = L"\\\\?\\hid#vid_3a7c&pid_0b15&mi_01&col01#8&2f1a&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
const std::wstring kLedPath = L"\\\\?\\hid#vid_3a7c&pid_0b15&mi_01&col03#8&2f1a&0&0002#{4d1e55b2-f16f-11cf-88cb-001111000030}";
const std::wstring kBootPath = L"\\\\?\\hid#vid_3a7c&pid_0b15&mi_00#8&11c4&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
const std::wstring kMousePath = L"\\\\?\\hid#vid_1d57&pid_0005#7&3b9e&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
const std::wstring kSiblingPath = L"\\\\?\\hid#vid_3a7c&pid_0b16&mi_01&col02#9&0a0b&0&0001#{4d1e55b2-f16f-11cf-88cb-001111000030}";
const std::wstring kSecondCtrlPath = L"\\\\?\\hid#vid_3a7c&pid_0b15&mi_01&col02#8&77d0&0&0001#{4d1e55b2-f16f-11cf-88cb-001111000030}";

std::wstring Upper(std::wstring path) {
  for (wchar_t& c : path) {
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  }
  return path;
}

HidIdentity Identity(std::uint16_t vendor, std::uint16_t product, std::uint16_t page, std::uint16_t usage,
                     std::uint16_t in, std::uint16_t out) {
  return {vendor, product, page, usage, in, out};
}

const FakeInterface kCtrl{kCtrlPath, Identity(device::kVendorId, device::kProductId, device::kCtrlUsagePage, device::kCtrlUsage, 64, 64)};
const FakeInterface kCons{kConsPath, Identity(device::kVendorId, device::kProductId, device::kConsUsagePage, device::kConsUsage, 3, 0)};
const FakeInterface kLed{kLedPath, Identity(device::kVendorId, device::kProductId, device::kLedUsagePage, device::kLedUsage, 0, 2)};
// The keyboard's typing collection: the system holds it, so it cannot be opened.
const FakeInterface kBoot{kBootPath, Identity(device::kVendorId, device::kProductId, 0x0001, 0x0006, 9, 2), false};
const FakeInterface kMouse{kMousePath, Identity(0x1D57, 0x0005, 0x0001, 0x0002, 5, 0)};
// Same maker, another product, with a collection of the same usage.
const FakeInterface kSibling{kSiblingPath, Identity(device::kVendorId, 0x0B16, device::kCtrlUsagePage, device::kCtrlUsage, 64, 64)};
const FakeInterface kSecondCtrl{kSecondCtrlPath, kCtrl.identity};

// ---- what reaches the library: the receiver calls, and through the units the callback ----

struct CallbackSeen {
  std::uint32_t kind = 0;
  std::uint32_t tag = 0;
  std::uint32_t count = 0;
  Bytes report;  // kind 1: 'CTRL' the report bytes, 'CONS' the first word's two bytes
};

std::mutex g_seen_mutex;
std::vector<CallbackSeen> g_seen;

const std::uint8_t* At(std::uint32_t address) {
  return reinterpret_cast<const std::uint8_t*>(static_cast<std::uintptr_t>(address));
}

// Reads the records as the program's adapter does.
int __stdcall RecordingCallback(void* event_record) {
  const auto* event = static_cast<const std::uint8_t*>(event_record);
  const std::uint8_t* unit = At(rec::GetU32(event, rec::kEventOffUnit));
  CallbackSeen seen;
  seen.kind = rec::GetU32(event, rec::kEventOffKind);
  seen.tag = rec::GetU32(unit, rec::kUnitOffTag);
  seen.count = rec::GetU32(unit, rec::kUnitOffCount);
  if (seen.kind == 1 && seen.tag == device::kTagCtrl) {
    const std::uint8_t* report = At(rec::GetU32(unit, rec::kUnitOffReport));
    seen.report.assign(report, report + seen.count);
  } else if (seen.kind == 1 && seen.tag == device::kTagCons) {
    const std::uint8_t* input = At(rec::GetU32(unit, rec::kUnitOffInput));
    const std::uint8_t* report = At(rec::GetU32(input, rec::kInputOffReport));
    seen.report.assign(report, report + 2);
  }
  std::lock_guard lock(g_seen_mutex);
  g_seen.push_back(seen);
  return 1;
}

std::vector<CallbackSeen> TakeSeen() {
  std::lock_guard lock(g_seen_mutex);
  return std::exchange(g_seen, {});
}

// The library's side, as exports.cpp wires it: notes what arrives and on which thread, and passes
// it on to the units.
class Receiver final : public LinkReceiver {
 public:
  void OnAttachCount(std::uint32_t count) override {
    Note();
    std::lock_guard lock(mutex_);
    attach_counts.push_back(count);
    units.DeliverAttach(count);
  }
  void OnControlReply(std::span<const std::uint8_t> packet) override {
    Note();
    std::lock_guard lock(mutex_);
    replies.emplace_back(packet.begin(), packet.end());
    units.DeliverControl(packet);
  }
  void OnConsumerReport(std::span<const std::uint8_t> report) override {
    Note();
    std::lock_guard lock(mutex_);
    events.emplace_back(report.begin(), report.end());
    units.DeliverConsumer(report);
  }

  UnitTable units;
  std::vector<std::uint32_t> attach_counts;
  std::vector<Bytes> replies;
  std::vector<Bytes> events;
  std::set<std::thread::id> threads;

 private:
  void Note() {
    std::lock_guard lock(mutex_);
    threads.insert(std::this_thread::get_id());
  }
  std::mutex mutex_;
};

// A started backend over a fake with the given interfaces, with a 'CONS' and a 'CTRL' unit
// registered the way the program does.
struct Rig {
  explicit Rig(std::vector<FakeInterface> present) : system(std::move(present)), backend(system, receiver) {
    started = backend.Start();
    system.Sync();
    receiver.units.Add(Collection::Consumer, device::kTagCons, &RecordingCallback, true);
    receiver.units.Add(Collection::Control, device::kTagCtrl, &RecordingCallback, true);
    TakeSeen();
  }
  // Whatever the fake still has to report reaches a backend that is still there.
  ~Rig() { system.Sync(); }
  Rig(const Rig&) = delete;
  Rig& operator=(const Rig&) = delete;
  FakeHidSystem system;
  Receiver receiver;
  HidBackend backend;
  bool started = false;
};

Bytes CommandPacket(std::uint8_t code) {
  Bytes packet(64, 0);
  packet[0] = 0x04;
  packet[3] = code;
  packet[8] = 0xA5;
  packet[63] = 0x5A;
  return packet;
}

// ---- enumeration ----

void EnumerationFindsTheKeyboardAmongOtherDevices() {
  struct Case {
    const char* name;
    std::vector<FakeInterface> present;
    std::vector<std::uint32_t> attach_counts;
    std::set<std::wstring> open;
    std::map<std::wstring, std::size_t> read;
  };
  FakeInterface short_ctrl = kCtrl;
  short_ctrl.identity.input_report_bytes = 8;
  short_ctrl.identity.output_report_bytes = 8;
  FakeInterface locked_ctrl = kCtrl;
  locked_ctrl.openable = false;
  const std::vector<Case> cases = {
      {"keyboard among other devices", {kMouse, kBoot, kSibling, kLed, kCons, kCtrl}, {1},
       {kCtrlPath, kConsPath, kLedPath}, {{kCtrlPath, 64}, {kConsPath, 3}}},
      {"no keyboard, only others", {kMouse, kBoot, kSibling}, {}, {}, {}},
      {"control collection with short reports is not the keyboard's", {short_ctrl, kCons, kLed}, {},
       {kConsPath, kLedPath}, {{kConsPath, 3}}},
      {"control collection that cannot be opened", {locked_ctrl, kCons}, {}, {kConsPath}, {{kConsPath, 3}}},
      {"a second keyboard is left alone", {kCtrl, kSecondCtrl, kCons}, {1}, {kCtrlPath, kConsPath},
       {{kCtrlPath, 64}, {kConsPath, 3}}},
  };
  for (const Case& c : cases) {
    g_case = std::string("enumeration: ") + c.name;
    Rig rig(c.present);
    CHECK(rig.started, "the backend started");
    CHECK(rig.receiver.attach_counts == c.attach_counts, "attach counts reported while starting");
    const std::uint32_t expected_count = c.attach_counts.empty() ? 0 : c.attach_counts.back();
    CHECK(rig.backend.AttachCount() == expected_count, "attach count right after Start");
    CHECK(rig.system.OpenPaths() == c.open, "interfaces kept open (all others closed again)");
    CHECK(rig.system.ReadPaths() == c.read, "interfaces read, with their input report lengths");
  }

  g_case = "enumeration: a HID system that cannot start";
  FakeHidSystem dead({kCtrl}, false);
  Receiver receiver;
  HidBackend backend(dead, receiver);
  CHECK(!backend.Start(), "Start fails");
  CHECK(backend.AttachCount() == 0, "no keyboard");
}

// ---- output reports ----

void OutputReportsAreFramedToTheReportLength() {
  struct Case {
    const char* name;
    Bytes bytes;
    std::size_t length;
    Bytes expected;
  };
  const std::vector<Case> cases = {
      {"exact length", {0x05, 0x03}, 2, {0x05, 0x03}},
      {"shorter: padded with zeros", {0x05, 0x02}, 4, {0x05, 0x02, 0x00, 0x00}},
      {"longer than the report", {0x05, 0x02, 0x01}, 2, {}},
      {"nothing to send", {}, 2, {}},
      {"collection without output report", {0x05, 0x02}, 0, {}},
  };
  for (const Case& c : cases) {
    g_case = std::string("framing: ") + c.name;
    CHECK(FrameOutputReport(c.bytes, c.length) == c.expected, "framed report");
  }
}

void WritesGoToTheirCollection() {
  g_case = "writes";
  Rig rig({kMouse, kCtrl, kCons, kLed});
  const Bytes packet = CommandPacket(0x11);
  CHECK(rig.backend.Send(Collection::Control, packet), "a command packet is sent");
  CHECK(rig.backend.Send(Collection::Led, Bytes{0x05, 0x03}), "the key-bank report is sent");
  const auto writes = rig.system.Writes();
  CHECK(writes.size() == 2, "two writes");
  if (writes.size() == 2) {
    CHECK(writes[0].path == kCtrlPath && writes[0].report == packet, "the packet as it is, to the control collection");
    CHECK(writes[1].path == kLedPath && writes[1].report == Bytes({0x05, 0x03}), "the bank report to the 'LED' collection");
  }

  struct Refused {
    const char* name;
    Collection collection;
    Bytes bytes;
  };
  const std::vector<Refused> refused = {
      {"to the consumer collection, which takes no output", Collection::Consumer, {0x05, 0x02}},
      {"longer than the control report", Collection::Control, Bytes(65, 0x04)},
      {"an empty bank report", Collection::Led, {}},
      {"to no collection", Collection::None, {0x04}},
  };
  for (const Refused& r : refused) {
    g_case = std::string("writes refused: ") + r.name;
    CHECK(!rig.backend.Send(r.collection, r.bytes), "Send fails");
  }
  CHECK(rig.system.Writes().size() == 2, "nothing more written");

  g_case = "writes: the device does not take the report";
  rig.system.SetWriteResult(false);
  CHECK(!rig.backend.Send(Collection::Control, packet), "Send fails");
}

// ---- replies and events ----

void ReplyAndEventReachTheCallback() {
  g_case = "reply and event";
  Rig rig({kMouse, kCtrl, kCons, kLed});
  CHECK(rig.backend.Send(Collection::Control, CommandPacket(0x21)), "the command is sent");
  Bytes reply = CommandPacket(0x21);
  reply[7] = 0x01;
  rig.system.Input(kCtrlPath, reply);
  rig.system.Input(kConsPath, {0xFF, 0x02, 0x00});
  rig.system.Sync();

  CHECK(rig.receiver.replies == std::vector<Bytes>{reply}, "the reply is handed on whole");
  CHECK(rig.receiver.events == std::vector<Bytes>({{0xFF, 0x02, 0x00}}), "the consumer report is handed on");
  CHECK(rig.receiver.threads == std::set<std::thread::id>{rig.system.ThreadId()},
        "every delivery runs on the HID system's thread");
  const auto seen = TakeSeen();
  CHECK(seen.size() == 2, "two callbacks");
  if (seen.size() == 2) {
    CHECK(seen[0].kind == 1 && seen[0].tag == device::kTagCtrl && seen[0].count == 64, "'CTRL' data record");
    CHECK(Hex(seen[0].report) == Hex(reply), "'CTRL' record points at the reply bytes");
    CHECK(seen[1].kind == 1 && seen[1].tag == device::kTagCons, "'CONS' data record");
    CHECK(seen[1].report == Bytes({0xFF, 0x02}), "'CONS' input record gives event code 0x02FF");
  }
  CHECK(rig.receiver.attach_counts == std::vector<std::uint32_t>{1}, "no attach change from data");
}

// ---- detach and attach ----

void DetachIsReportedAndTheKeyboardComesBack() {
  struct Way {
    const char* name;
    void (*go)(FakeHidSystem&);
  };
  const std::vector<Way> ways = {
      {"removal message, spelt in capitals", [](FakeHidSystem& s) { s.Remove(kCtrlPath, Upper(kCtrlPath)); }},
      {"read error on the open control collection", [](FakeHidSystem& s) { s.FailRead(kCtrlPath); }},
  };
  for (const Way& way : ways) {
    g_case = std::string("detach: ") + way.name;
    Rig rig({kMouse, kCtrl, kCons, kLed});
    // Another device going away is none of the keyboard's business.
    rig.system.Remove(kMousePath, kMousePath);
    rig.system.Sync();
    CHECK(rig.receiver.attach_counts == std::vector<std::uint32_t>{1}, "an unrelated removal changes nothing");

    way.go(rig.system);
    rig.system.Sync();
    CHECK((rig.receiver.attach_counts == std::vector<std::uint32_t>{1, 0}), "the detach is reported once");
    CHECK(rig.backend.AttachCount() == 0, "attach count after the detach");
    CHECK(!rig.system.OpenPaths().contains(kCtrlPath), "the control collection is closed");
    CHECK(!rig.backend.Send(Collection::Control, CommandPacket(0x11)), "nothing can be sent to it");
    CHECK(rig.system.Writes().empty(), "nothing written");
    auto seen = TakeSeen();
    CHECK(seen.size() == 2, "both units hear the detach");
    for (const auto& s : seen) CHECK(s.kind == 0 && s.count == 0, "kind 0 record with count 0");

    rig.system.Input(kCtrlPath, CommandPacket(0x11));
    rig.system.Sync();
    CHECK(rig.receiver.replies.empty(), "no reply from a detached collection");

    if (std::string(way.name).starts_with("removal")) {
      rig.system.Arrive(kCtrl);
    } else {
      // A read error without a removal: the interface comes back as a new arrival.
      rig.system.Remove(kCtrlPath, kCtrlPath);
      rig.system.Arrive(kCtrl);
    }
    rig.system.Sync();
    CHECK((rig.receiver.attach_counts == std::vector<std::uint32_t>{1, 0, 1}), "the attach is reported");
    CHECK(rig.backend.AttachCount() == 1, "attach count after the attach");
    CHECK(rig.system.ReadPaths().contains(kCtrlPath), "the control collection is read again");
    CHECK(rig.backend.Send(Collection::Control, CommandPacket(0x12)), "commands go out again");
    seen = TakeSeen();
    CHECK(seen.size() == 2 && seen[0].kind == 0 && seen[0].count == 1, "units hear the attach");
  }

  g_case = "detach: an arrival of an interface already open";
  Rig rig({kCtrl, kCons});
  rig.system.Arrive(kCtrl);
  rig.system.Sync();
  CHECK(rig.receiver.attach_counts == std::vector<std::uint32_t>{1}, "reported once");
  CHECK(rig.system.OpenPaths().size() == 2, "opened once");
}

}  // namespace

int main() {
  EnumerationFindsTheKeyboardAmongOtherDevices();
  OutputReportsAreFramedToTheReportLength();
  WritesGoToTheirCollection();
  ReplyAndEventReachTheCallback();
  DetachIsReportedAndTheKeyboardComesBack();
  std::printf("%d checks, %d failed\n", g_checks, g_failures);
  return g_failures == 0 ? 0 : 1;
}
