#pragma once
// The HID service library as the program sees it: the calls it makes, in the library's argument
// order with 32-bit values, and the events it delivers to the one notification callback. The Win32
// adapter loads Quorva.dll behind this interface; tests put a fake keyboard behind it.
#include <array>
#include <cstdint>
#include <span>

namespace vendrel::device {

// 16 bytes selecting one collection of the keyboard (layout in descriptors.h).
using Descriptor = std::array<std::uint8_t, 16>;

// Four characters packed into 32 bits, the first in the most significant non-zero byte.
using Tag = std::uint32_t;

// What the library reports through the callback.
inline constexpr std::uint32_t kEventAttachChanged = 0;  // count = devices of the unit attached
inline constexpr std::uint32_t kEventDataArrived = 1;    // report = the bytes that arrived

// One notification, decoded from the library's event, unit and input records. The report bytes
// are valid only during the call of the sink.
struct HidEvent {
  std::uint32_t kind = 0;   // kEventAttachChanged, kEventDataArrived; other values are ignored
  Tag tag = 0;              // tag of the unit the event belongs to
  std::uint32_t count = 0;  // kind 0: attached devices; kind 1 on 'CTRL': number of report bytes
  std::span<const std::uint8_t> report;  // kind 1: the report bytes
};

// Receives every event of every unit registered with a callback. Called on the library's own
// threads; must not block. Returns 1.
class HidEventSink {
 public:
  virtual ~HidEventSink() = default;
  virtual int OnHidEvent(const HidEvent& event) = 0;
};

class HidLibrary {
 public:
  virtual ~HidLibrary() = default;

  // Where decoded events go; set before any unit is registered.
  virtual void SetEventSink(HidEventSink* sink) = 0;

  // The 32-bit address of the callback entry point handed to the library; it enters the check
  // value of every call that passes it.
  virtual std::uint32_t CallbackAddress() const = 0;

  virtual std::int32_t Init(std::uint32_t flags) = 0;

  // Number of attached devices matching the descriptor; 0 = none.
  virtual std::int32_t RequestGetDeviceCount(const Descriptor& descriptor, std::uint32_t callback,
                                             Tag tag, std::uint32_t check,
                                             std::uint32_t reserved) = 0;

  virtual std::int32_t DeleteRequestFromUnitId(std::uint32_t unit_id) = 0;

  // Registers a unit: from then on the library reports the unit's events to the callback and
  // stores the unit's id in *unit_id.
  virtual std::int32_t RequestAsyncRead(const Descriptor& descriptor, std::uint32_t callback,
                                        Tag tag, std::uint32_t check, std::uint32_t* unit_id) = 0;

  // Sends data to the device as an output report.
  virtual std::int32_t RequestStatusWrite(const Descriptor& descriptor, std::uint32_t callback,
                                          Tag tag, const std::uint8_t* data, std::uint32_t length,
                                          std::uint32_t check, std::uint32_t* unit_id) = 0;

  // Writes one packet; greater than 0 when it was sent.
  virtual std::int32_t RequestWriteOne(const Descriptor& descriptor, std::uint32_t callback,
                                       Tag tag, const std::uint8_t* data, std::uint32_t length,
                                       std::uint32_t check, std::uint32_t reserved) = 0;
};

}  // namespace vendrel::device
