#include "macros/macro_record.h"

#include <algorithm>

#include "codec/little_endian.h"

namespace vendrel::macros {

using codec::ReadU16;
using codec::ReadU32;
using codec::WriteU16;
using codec::WriteU32;

void EncodeMacroAction(const MacroAction& action, std::span<std::uint8_t, kMacroActionSize> out) {
  WriteU32(out, kActionOffDelay, action.delay);
  WriteU16(out, kActionOffKey, action.key);
  WriteU16(out, kActionOffKind, static_cast<std::uint16_t>(action.kind));
}

MacroAction DecodeMacroAction(std::span<const std::uint8_t, kMacroActionSize> in) {
  MacroAction a;
  a.delay = ReadU32(in, kActionOffDelay);
  a.key = ReadU16(in, kActionOffKey);
  a.kind = static_cast<ActionKind>(ReadU16(in, kActionOffKind));
  return a;
}

void EncodeMacroRecord(const MacroRecord& record, std::span<std::uint8_t, kMacroRecordSize> out) {
  std::fill(out.begin(), out.end(), std::uint8_t{0});
  const std::size_t name_units = std::min(record.name.size(), kMaxNameLength);
  for (std::size_t i = 0; i < name_units; ++i) {
    WriteU16(out, kRecordOffName + 2 * i, static_cast<std::uint16_t>(record.name[i]));
  }
  out[kRecordOffCycles] = record.cycles;
  out[kRecordOffReserved1] = record.reserved1;
  WriteU16(out, kRecordOffNewFlag, record.new_flag);
  WriteU16(out, kRecordOffRepeatMode, record.repeat_mode);
  WriteU16(out, kRecordOffId, record.id);
  const std::size_t count = std::min(record.actions.size(), kMaxActions);
  WriteU16(out, kRecordOffActionCount, static_cast<std::uint16_t>(count));
  WriteU16(out, kRecordOffReserved2, record.reserved2);
  for (std::size_t i = 0; i < count; ++i) {
    EncodeMacroAction(record.actions[i],
                      out.subspan(kRecordOffActions + i * kMacroActionSize).first<kMacroActionSize>());
  }
}

MacroRecord DecodeMacroRecord(std::span<const std::uint8_t, kMacroRecordSize> in) {
  MacroRecord r;
  for (std::size_t i = 0; i < kMaxNameLength; ++i) {
    const std::uint16_t unit = ReadU16(in, kRecordOffName + 2 * i);
    if (unit == 0) break;
    r.name.push_back(static_cast<char16_t>(unit));
  }
  r.cycles = in[kRecordOffCycles];
  r.reserved1 = in[kRecordOffReserved1];
  r.new_flag = ReadU16(in, kRecordOffNewFlag);
  r.repeat_mode = ReadU16(in, kRecordOffRepeatMode);
  r.id = ReadU16(in, kRecordOffId);
  r.reserved2 = ReadU16(in, kRecordOffReserved2);
  const std::size_t count =
      std::min<std::size_t>(ReadU16(in, kRecordOffActionCount), kMaxActions);
  r.actions.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    r.actions.push_back(DecodeMacroAction(
        in.subspan(kRecordOffActions + i * kMacroActionSize).first<kMacroActionSize>()));
  }
  return r;
}

}  // namespace vendrel::macros
