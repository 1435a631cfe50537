#include "keys/key_assignment.h"

#include "codec/little_endian.h"

namespace vendrel::keys {

using codec::ReadU16;
using codec::ReadU32;
using codec::WriteU16;
using codec::WriteU32;

void EncodeKeyAssignment(const KeyAssignment& record, std::span<std::uint8_t, kKeyAssignmentSize> out) {
  WriteU16(out, kAssignOffType, static_cast<std::uint16_t>(record.type));
  WriteU16(out, kAssignOffKeyField, record.key_field);
  WriteU32(out, kAssignOffParameter, record.parameter);
  WriteU32(out, kAssignOffColourFlag, record.colour_flag);
  WriteU32(out, kAssignOffReserved, record.reserved);
}

KeyAssignment DecodeKeyAssignment(std::span<const std::uint8_t, kKeyAssignmentSize> in) {
  KeyAssignment r;
  r.type = static_cast<AssignmentType>(ReadU16(in, kAssignOffType));
  r.key_field = ReadU16(in, kAssignOffKeyField);
  r.parameter = ReadU32(in, kAssignOffParameter);
  r.colour_flag = ReadU32(in, kAssignOffColourFlag);
  r.reserved = ReadU32(in, kAssignOffReserved);
  return r;
}

}  // namespace vendrel::keys
