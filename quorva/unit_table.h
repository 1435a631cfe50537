#pragma once
// The units registered with the library and the delivery of the keyboard's events to their
// callbacks, with the event, unit and input records laid out for 32-bit code.
#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

#include "quorva/collections.h"

namespace vendrel::quorva {

using Callback = int(__stdcall*)(void* event_record);

class UnitTable {
 public:
  // Returns the new unit's id (never 0). Units without a callback are kept but hear nothing.
  std::uint32_t Add(Collection collection, std::uint32_t tag, Callback callback, bool reads);
  bool Remove(std::uint32_t id);

  // Every reading unit of the keyboard hears attach changes; control replies go to 'CTRL'-type
  // units, consumer reports to 'CONS'-type units. Callbacks run on the caller's thread, outside
  // the table's lock, so a callback may register or remove units.
  void DeliverAttach(std::uint32_t count);
  void DeliverControl(std::span<const std::uint8_t> packet);
  void DeliverConsumer(std::span<const std::uint8_t> report);

 private:
  struct Unit {
    std::uint32_t id;
    Collection collection;
    std::uint32_t tag;
    Callback callback;
    bool reads;
  };
  std::vector<Unit> Listeners(bool (*wanted)(const Unit&));

  std::mutex mutex_;
  std::vector<Unit> units_;
  std::uint32_t next_id_ = 1;
};

}  // namespace vendrel::quorva
