#include "quorva/unit_table.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <thread>

#include "device/hid_records.h"
#include "sim/kbsim/wire_protocol.h"

namespace vendrel::quorva {
namespace {

namespace rec = vendrel::device::records;
namespace wire = vendrel::sim::wire;

constexpr std::uint32_t kKindAttach = 0;
constexpr std::uint32_t kKindData = 1;

std::uint32_t Address(const void* p) { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(p)); }

// One delivery's records, alive for the duration of the callback. The records carry 32-bit
// addresses, so they live in slots inside the library's own image: in the x86_64 build (the Wine
// scenarios' build on machines without 32-bit programs) only the images, linked low, are sure to
// lie below 4 GB; the heap and the thread stacks are not. The report is copied so that a callback
// that writes into it cannot disturb the next unit's delivery.
struct DeliverySlot {
  alignas(4) std::array<std::uint8_t, rec::kEventSize> event{};
  alignas(4) std::array<std::uint8_t, rec::kUnitSize> unit{};
  alignas(4) std::array<std::uint8_t, rec::kInputSize> input{};
  alignas(4) std::array<std::uint8_t, wire::kMaxPayload> report{};
};

// Deliveries run on the link's reader thread and on the threads that ask for the device count;
// a callback may itself cause a nested delivery, so there are a few slots, each claimed by one.
constexpr std::size_t kSlots = 8;
DeliverySlot g_slots[kSlots];
std::atomic<bool> g_slot_taken[kSlots];

class Delivery {
 public:
  Delivery() {
    for (;;) {
      for (std::size_t i = 0; i < kSlots; ++i) {
        if (!g_slot_taken[i].exchange(true, std::memory_order_acquire)) {
          index_ = i;
          slot_ = &g_slots[i];
          *slot_ = DeliverySlot{};
          return;
        }
      }
      std::this_thread::yield();
    }
  }
  ~Delivery() { g_slot_taken[index_].store(false, std::memory_order_release); }
  Delivery(const Delivery&) = delete;
  Delivery& operator=(const Delivery&) = delete;

  std::uint8_t* event() { return slot_->event.data(); }
  std::uint8_t* unit() { return slot_->unit.data(); }
  std::uint8_t* input() { return slot_->input.data(); }
  std::uint8_t* report() { return slot_->report.data(); }
  std::uint32_t report_size() const { return report_size_; }

  // Frames from the link never exceed kMaxPayload; anything longer is not a report we can hand on.
  bool SetReport(std::span<const std::uint8_t> bytes) {
    if (bytes.size() > slot_->report.size()) return false;
    std::copy(bytes.begin(), bytes.end(), slot_->report.begin());
    report_size_ = static_cast<std::uint32_t>(bytes.size());
    return true;
  }

  int Call(Callback callback) {
    rec::PutU32(event(), rec::kEventOffUnit, Address(unit()));
    return callback(event());
  }

 private:
  std::size_t index_ = 0;
  DeliverySlot* slot_ = nullptr;
  std::uint32_t report_size_ = 0;
};

}  // namespace

std::uint32_t UnitTable::Add(Collection collection, std::uint32_t tag, Callback callback, bool reads) {
  std::lock_guard lock(mutex_);
  const std::uint32_t id = next_id_++;
  if (next_id_ == 0) next_id_ = 1;
  units_.push_back({id, collection, tag, callback, reads});
  return id;
}

bool UnitTable::Remove(std::uint32_t id) {
  std::lock_guard lock(mutex_);
  return std::erase_if(units_, [id](const Unit& u) { return u.id == id; }) > 0;
}

std::vector<UnitTable::Unit> UnitTable::Listeners(bool (*wanted)(const Unit&)) {
  std::lock_guard lock(mutex_);
  std::vector<Unit> found;
  for (const Unit& u : units_) {
    if (u.reads && u.callback != nullptr && wanted(u)) found.push_back(u);
  }
  return found;
}

void UnitTable::DeliverAttach(std::uint32_t count) {
  for (const Unit& u : Listeners([](const Unit& x) { return x.collection != Collection::None; })) {
    Delivery d;
    rec::PutU32(d.event(), rec::kEventOffKind, kKindAttach);
    rec::PutU32(d.unit(), rec::kUnitOffTag, u.tag);
    rec::PutU32(d.unit(), rec::kUnitOffCount, count);
    d.Call(u.callback);
  }
}

void UnitTable::DeliverControl(std::span<const std::uint8_t> packet) {
  for (const Unit& u : Listeners([](const Unit& x) { return x.collection == Collection::Control; })) {
    Delivery d;
    if (!d.SetReport(packet)) return;
    rec::PutU32(d.event(), rec::kEventOffKind, kKindData);
    rec::PutU32(d.unit(), rec::kUnitOffTag, u.tag);
    rec::PutU32(d.unit(), rec::kUnitOffCount, d.report_size());
    rec::PutU32(d.unit(), rec::kUnitOffReport, Address(d.report()));
    d.Call(u.callback);
  }
}

void UnitTable::DeliverConsumer(std::span<const std::uint8_t> report) {
  for (const Unit& u : Listeners([](const Unit& x) { return x.collection == Collection::Consumer; })) {
    Delivery d;
    if (!d.SetReport(report)) return;
    rec::PutU32(d.event(), rec::kEventOffKind, kKindData);
    rec::PutU32(d.unit(), rec::kUnitOffTag, u.tag);
    rec::PutU32(d.unit(), rec::kUnitOffCount, d.report_size());
    rec::PutU32(d.unit(), rec::kUnitOffInput, Address(d.input()));
    rec::PutU32(d.input(), rec::kInputOffReport, Address(d.report()));
    rec::PutU32(d.input(), rec::kInputOffLength, d.report_size());
    d.Call(u.callback);
  }
}

}  // namespace vendrel::quorva
