#include "quorva/unit_table.h"

#include <algorithm>
#include <array>

#include "device/hid_records.h"

namespace vendrel::quorva {
namespace {

namespace rec = vendrel::device::records;

constexpr std::uint32_t kKindAttach = 0;
constexpr std::uint32_t kKindData = 1;

std::uint32_t Address(const void* p) { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(p)); }

// One delivery's records, alive for the duration of the callback. The report is copied so that
// a callback that writes into it cannot disturb the next unit's delivery.
struct Delivery {
  alignas(4) std::array<std::uint8_t, rec::kEventSize> event{};
  alignas(4) std::array<std::uint8_t, rec::kUnitSize> unit{};
  alignas(4) std::array<std::uint8_t, rec::kInputSize> input{};
  std::vector<std::uint8_t> report;

  int Call(Callback callback) {
    rec::PutU32(event.data(), rec::kEventOffUnit, Address(unit.data()));
    return callback(event.data());
  }
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
    rec::PutU32(d.event.data(), rec::kEventOffKind, kKindAttach);
    rec::PutU32(d.unit.data(), rec::kUnitOffTag, u.tag);
    rec::PutU32(d.unit.data(), rec::kUnitOffCount, count);
    d.Call(u.callback);
  }
}

void UnitTable::DeliverControl(std::span<const std::uint8_t> packet) {
  for (const Unit& u : Listeners([](const Unit& x) { return x.collection == Collection::Control; })) {
    Delivery d;
    d.report.assign(packet.begin(), packet.end());
    rec::PutU32(d.event.data(), rec::kEventOffKind, kKindData);
    rec::PutU32(d.unit.data(), rec::kUnitOffTag, u.tag);
    rec::PutU32(d.unit.data(), rec::kUnitOffCount, static_cast<std::uint32_t>(d.report.size()));
    rec::PutU32(d.unit.data(), rec::kUnitOffReport, Address(d.report.data()));
    d.Call(u.callback);
  }
}

void UnitTable::DeliverConsumer(std::span<const std::uint8_t> report) {
  for (const Unit& u : Listeners([](const Unit& x) { return x.collection == Collection::Consumer; })) {
    Delivery d;
    d.report.assign(report.begin(), report.end());
    rec::PutU32(d.event.data(), rec::kEventOffKind, kKindData);
    rec::PutU32(d.unit.data(), rec::kUnitOffTag, u.tag);
    rec::PutU32(d.unit.data(), rec::kUnitOffCount, static_cast<std::uint32_t>(d.report.size()));
    rec::PutU32(d.unit.data(), rec::kUnitOffInput, Address(d.input.data()));
    rec::PutU32(d.input.data(), rec::kInputOffReport, Address(d.report.data()));
    rec::PutU32(d.input.data(), rec::kInputOffLength, static_cast<std::uint32_t>(d.report.size()));
    d.Call(u.callback);
  }
}

}  // namespace vendrel::quorva
