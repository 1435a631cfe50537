#pragma once
// Settings file bytes to and from their content: header, key table, macros and record texts.
// Pure over bytes and values.
#include <cstdint>
#include <span>
#include <vector>

#include "keys/key_string_table.h"
#include "keys/profile_key_table.h"
#include "macros/macro_record.h"
#include "profiles/settings_file_format.h"

namespace vendrel::profiles {

enum class SettingsCodecResult : int {
  Ok = 1,
  Refused = 0,  // not a settings file, too many macros for a file, or no memory
};

// Sum of header bytes 0..30 modulo 256.
std::uint8_t HeaderChecksum(std::span<const std::uint8_t> header);

// True when bytes start with a header that passes every check of a settings file: magic, header
// size, the two format constants, record count 2048, at most 100 macros, flag 0 or 1, total size
// equal to the areas it names, checksum, and bytes long enough to hold those areas; when no macro
// action pauses longer than the keyboard can (macros::DelayFitsImage); and when every text
// offset is even and inside the text area and the texts take no more bytes than the area (see
// DecodeSettingsFile).
bool IsValidSettingsFile(std::span<const std::uint8_t> bytes);

// Writes the 32-byte header of a file with these counts (flag 0, checksum last). The descriptor is
// left as header holds it, unless it is all zero: then it receives the constants.
void RebuildSettingsHeader(SettingsHeader& header, std::uint16_t macro_count,
                           std::uint32_t text_size);

// The descriptor constants with the keyboard's ids.
void WriteDescriptor(SettingsHeader& header);

// Lays the texts of the launch-program and text-block records one after another in record order:
// each such record's parameter becomes its text's offset in the text area. Such a record without
// text gets an empty text (a lone terminator) of its own, so that no stale offset makes it read
// another record's text and no two texts overlap. The settings file and the DeviceStore pack
// texts this way.
void AssignTextOffsets(keys::ProfileKeyTable& table, const keys::KeyStringTable& strings);

// Bytes of the text area that AssignTextOffsets lays out: every text of strings (those of records
// that no longer carry text become a zero tail) and the empty texts of the records without one.
std::uint64_t TextAreaSize(const keys::ProfileKeyTable& table, const keys::KeyStringTable& strings);

// What a settings file is made from; the views must outlive the call.
struct SettingsContentView {
  const SettingsHeader& header;  // its descriptor is kept
  const keys::ProfileKeyTable& table;
  std::span<const macros::MacroRecord> macros;
  const keys::KeyStringTable& strings;
};

// Lays out the whole file: the header rebuilt for the content, the table with the texts' offsets
// (AssignTextOffsets), the macro records and the text area of TextAreaSize bytes. Refused (out
// unchanged) when there are more macros than a file holds or the file would pass 4 GB.
SettingsCodecResult EncodeSettingsFile(const SettingsContentView& content,
                                       std::vector<std::uint8_t>& out);

// What a settings file holds once read.
struct SettingsContent {
  SettingsHeader header{};
  keys::ProfileKeyTable table;
  macros::MacroList macros;
  keys::KeyStringTable strings;
};

// Reads a file's bytes into out. Refused, leaving out unspecified, when IsValidSettingsFile is not
// true of the bytes. A text without terminator ends at the end of the area. A file written here
// packs its texts without overlap, so the texts of a file never take more bytes (terminators
// included) than its text area: texts that would, by overlapping or sharing one unterminated run,
// refuse the file as soon as their running total passes the area. Time and memory of a load are
// therefore bounded by the file's size.
SettingsCodecResult DecodeSettingsFile(std::span<const std::uint8_t> bytes, SettingsContent& out);

// The table of a new store: all records zero except the G codes of block 0.
void MakeDefaultTable(keys::ProfileKeyTable& table);

}  // namespace vendrel::profiles
