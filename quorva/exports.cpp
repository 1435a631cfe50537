// The twelve entry points of Quorva.dll (__stdcall, undecorated names through quorva.def).
// Every call that carries a check value is refused (result 0) when the value is wrong.
#include <winsock2.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <span>

#include "device/check_value.h"
#include "device/descriptors.h"
#include "quorva/collections.h"
#include "quorva/hid_backend.h"
#include "quorva/sim_link.h"
#include "quorva/unit_table.h"
#include "quorva/win_hid_system.h"

namespace vendrel::quorva {
namespace {

constexpr std::uint32_t kPacketSize = 64;
// Output reports of the keyboard are short; anything longer is a caller's mistake.
constexpr std::uint32_t kMaxStatusReport = 64;

class Library final : public LinkReceiver {
 public:
  int Init() {
    std::lock_guard lock(init_mutex_);
    if (initialised_) return 1;
    initialised_ = true;
    // Backends live as long as the process: the library is never unloaded.
    const char* address = std::getenv("QUORVA_SIM");
    if (address != nullptr && *address != '\0') {
      WSADATA data;
      if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return 0;
      auto* sim = new SimLink(*this);
      if (!sim->Start(address)) return 0;
      link_ = sim;
      return 1;
    }
    // The keyboard itself. A system whose HID notifications cannot be followed has no keyboard
    // for us, as a machine without one.
    auto* hid = new HidBackend(*new WinHidSystem(), *this);
    if (hid->Start()) link_ = hid;
    return 1;
  }

  std::uint32_t AttachCount() const {
    const Link* link = link_.load();
    return link == nullptr ? 0 : link->AttachCount();
  }
  bool Send(Collection collection, std::span<const std::uint8_t> report) {
    Link* link = link_.load();
    return link != nullptr && link->Send(collection, report);
  }
  UnitTable& Units() { return units_; }

  void OnAttachCount(std::uint32_t count) override { units_.DeliverAttach(count); }
  void OnControlReply(std::span<const std::uint8_t> packet) override { units_.DeliverControl(packet); }
  void OnConsumerReport(std::span<const std::uint8_t> report) override { units_.DeliverConsumer(report); }

 private:
  std::mutex init_mutex_;
  bool initialised_ = false;
  std::atomic<Link*> link_{nullptr};
  UnitTable units_;
};

Library& TheLibrary() {
  static Library* library = new Library();  // never destroyed: callbacks may run at process exit
  return *library;
}

bool CheckMatches(const std::uint8_t* descriptor, Callback callback, std::uint32_t tag,
                  std::span<const std::uint8_t> data, std::uint32_t check) {
  if (descriptor == nullptr) return false;
  device::Descriptor d{};
  for (std::size_t i = 0; i < d.size(); ++i) d[i] = descriptor[i];
  const auto address = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(callback));
  return device::CheckValue(d, address, tag, data) == check;
}

void StoreUnitId(std::uint32_t* unit_id, std::uint32_t id) {
  if (unit_id != nullptr) *unit_id = id;
}

}  // namespace
}  // namespace vendrel::quorva

using vendrel::quorva::Callback;
using vendrel::quorva::CheckMatches;
using vendrel::quorva::Collection;
using vendrel::quorva::MatchCollection;
using vendrel::quorva::TheLibrary;

extern "C" {

// Diagnostics switch; this library keeps no diagnostics, so any level is accepted.
int __stdcall Debug(int) { return 1; }

int __stdcall Init(int) { return TheLibrary().Init(); }

// Nothing to release: the connection lives as long as the process.
int __stdcall End() { return 1; }

int __stdcall RequestGetDeviceCount(const std::uint8_t* descriptor, Callback callback,
                                                          std::uint32_t tag, std::uint32_t check,
                                                          std::uint32_t) {
  if (!CheckMatches(descriptor, callback, tag, {}, check)) return 0;
  if (MatchCollection(descriptor) == Collection::None) return 0;
  return static_cast<int>(TheLibrary().AttachCount());
}

int __stdcall DeleteRequestFromUnitId(std::uint32_t unit_id) {
  return TheLibrary().Units().Remove(unit_id) ? 1 : 0;
}

// Requests here are identified by unit id only; no handle ever names one.
int __stdcall DeleteRequestFromHandle(std::uint32_t) { return 0; }

int __stdcall RequestWriteOne(const std::uint8_t* descriptor, Callback callback,
                                                    std::uint32_t tag, const std::uint8_t* data,
                                                    std::uint32_t length, std::uint32_t check, std::uint32_t) {
  if (data == nullptr || length != vendrel::quorva::kPacketSize) return 0;
  if (!CheckMatches(descriptor, callback, tag, std::span(data, length), check)) return 0;
  if (MatchCollection(descriptor) != Collection::Control || TheLibrary().AttachCount() == 0) return 0;
  return TheLibrary().Send(Collection::Control, std::span(data, length)) ? 1 : 0;
}

// The same single-packet write under its older name.
int __stdcall RequestWrite(const std::uint8_t* descriptor, Callback callback,
                                                 std::uint32_t tag, const std::uint8_t* data, std::uint32_t length,
                                                 std::uint32_t check, std::uint32_t reserved) {
  return RequestWriteOne(descriptor, callback, tag, data, length, check, reserved);
}

int __stdcall RequestStatusWrite(const std::uint8_t* descriptor, Callback callback,
                                                       std::uint32_t tag, const std::uint8_t* data,
                                                       std::uint32_t length, std::uint32_t check,
                                                       std::uint32_t* unit_id) {
  if (data == nullptr || length == 0 || length > vendrel::quorva::kMaxStatusReport) return 0;
  if (!CheckMatches(descriptor, callback, tag, std::span(data, length), check)) return 0;
  const Collection collection = MatchCollection(descriptor);
  if (collection != Collection::Led || TheLibrary().AttachCount() == 0) return 0;
  vendrel::quorva::StoreUnitId(unit_id, TheLibrary().Units().Add(collection, tag, callback, false));
  return TheLibrary().Send(Collection::Led, std::span(data, length)) ? 1 : 0;
}

// The keyboard has no input status or feature reports to get or set.
int __stdcall RequestStatusGet(const std::uint8_t*, Callback, std::uint32_t,
                                                     std::uint8_t*, std::uint32_t, std::uint32_t, std::uint32_t*) {
  return 0;
}
int __stdcall RequestStatusSetFeature(const std::uint8_t*, Callback, std::uint32_t,
                                                            const std::uint8_t*, std::uint32_t, std::uint32_t,
                                                            std::uint32_t*) {
  return 0;
}

int __stdcall RequestAsyncRead(const std::uint8_t* descriptor, Callback callback,
                                                     std::uint32_t tag, std::uint32_t check, std::uint32_t* unit_id) {
  if (!CheckMatches(descriptor, callback, tag, {}, check)) return 0;
  const Collection collection = MatchCollection(descriptor);
  if (collection == Collection::None) return 0;
  vendrel::quorva::StoreUnitId(unit_id, TheLibrary().Units().Add(collection, tag, callback, true));
  return 1;
}

}  // extern "C"
