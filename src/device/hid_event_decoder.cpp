#include "device/hid_event_decoder.h"

#include "device/descriptors.h"
#include "device/hid_records.h"

namespace vendrel::device {

bool DecodeHidEvent(const std::uint8_t* event_record, const AddressResolver& resolve,
                    HidEvent& event) {
  namespace rec = records;
  if (event_record == nullptr) return false;
  const std::uint8_t* unit = resolve(rec::GetU32(event_record, rec::kEventOffUnit));
  if (unit == nullptr) return false;
  event = HidEvent{};
  event.kind = rec::GetU32(event_record, rec::kEventOffKind);
  event.tag = rec::GetU32(unit, rec::kUnitOffTag);
  event.count = rec::GetU32(unit, rec::kUnitOffCount);
  if (event.kind != kEventDataArrived) return true;
  if (event.tag == kTagCons) {
    const std::uint8_t* input = resolve(rec::GetU32(unit, rec::kUnitOffInput));
    if (input == nullptr) return false;
    const std::uint8_t* report = resolve(rec::GetU32(input, rec::kInputOffReport));
    if (report == nullptr) return false;
    event.report = std::span(report, kConsReportBytes);
    return true;
  }
  const std::uint8_t* report = resolve(rec::GetU32(unit, rec::kUnitOffReport));
  if (report == nullptr || event.count == 0) return false;
  event.report = std::span(report, event.count);
  return true;
}

}  // namespace vendrel::device
