#include "profiles/settings_file_codec.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>

#include "device/descriptors.h"
#include "codec/little_endian.h"
#include "macros/macro_image.h"

namespace vendrel::profiles {
namespace {

using codec::ReadU16;
using codec::ReadU32;
using codec::WriteU16;
using codec::WriteU32;

// The header fields that decide where the areas lie, read from valid bytes.
struct Areas {
  std::size_t macro_count;
  std::size_t text_size;
};

Areas ReadAreas(std::span<const std::uint8_t> bytes) {
  return Areas{ReadU16(bytes, kHdrOffMacroCount), ReadU32(bytes, kHdrOffTextSize)};
}

// Bytes an empty text takes: its terminator.
constexpr std::uint32_t kEmptyTextSize = 2;

// Bytes record i's text takes in the text area; 0 for a record that carries no text.
std::uint64_t PackedTextSize(const keys::ProfileKeyTable& table, const keys::KeyStringTable& strings,
                             std::size_t i) {
  if (!keys::CarriesText(table.records[i].type)) return 0;
  return strings.Has(i) ? strings.Size(i) : kEmptyTextSize;
}

std::span<const std::uint8_t> KeyTableBytes(std::span<const std::uint8_t> bytes) {
  return bytes.subspan(kKeyTableOffset, keys::kProfileKeyTableSize);
}

std::span<const std::uint8_t> TextAreaBytes(std::span<const std::uint8_t> bytes, const Areas& areas) {
  return bytes.subspan(static_cast<std::size_t>(SettingsFileSize(areas.macro_count, 0)),
                       areas.text_size);
}

// Finds the text of every text-carrying record of key_table in text_area, in record order, and
// hands on_text(record index, first byte, units) each one found. A text starts at its record's
// offset and runs to its terminator or the area's end. Returns false, as soon as it is so, when
// an offset is odd or outside the area, or the texts would take more bytes than the area holds:
// the walk then never reads more than the area's units plus one per record.
template <typename OnText>
bool WalkTexts(std::span<const std::uint8_t> key_table, std::span<const std::uint8_t> text_area,
               OnText&& on_text) {
  std::size_t taken = 0;  // never above text_area.size()
  for (std::size_t i = 0; i < keys::kRecordCount; ++i) {
    const auto record = key_table.subspan(i * keys::kKeyAssignmentSize, keys::kKeyAssignmentSize);
    const auto type = static_cast<keys::AssignmentType>(ReadU16(record, keys::kAssignOffType));
    if (!keys::CarriesText(type)) continue;
    const std::size_t start = ReadU32(record, keys::kAssignOffParameter);
    // Files written here give every such record an even offset inside the area (an empty text at
    // least): any other offset names a text no file of ours holds.
    if (start % 2 != 0 || start >= text_area.size()) return false;
    const std::size_t room = text_area.size() - taken;
    std::size_t bytes = 0;  // the units read, terminator included
    std::size_t units = 0;
    for (std::size_t p = start; p + 1 < text_area.size(); p += 2) {
      bytes += 2;
      if (bytes > room) return false;
      if (ReadU16(text_area, p) == 0) break;
      ++units;
    }
    taken += bytes;
    on_text(i, start, units);
  }
  return true;
}

// True when no action of the file's macro records pauses longer than the keyboard's delay field
// holds. The editor and the recorder stop at 40000 ms and the keyboard's own image at 40950 ms, so
// no file of ours holds more. A longer pause was meant by someone, but the keyboard cannot play it:
// clamped it would play shorter without the user knowing, so the file is refused instead.
bool DelaysFitTheKeyboard(std::span<const std::uint8_t> bytes, std::size_t macro_count) {
  for (std::size_t m = 0; m < macro_count; ++m) {
    const auto record = bytes.subspan(kMacroAreaOffset + m * macros::kMacroRecordSize,
                                      macros::kMacroRecordSize);
    // A larger count is cut to the limit when the record is read; those actions are never sent.
    const std::size_t actions =
        std::min<std::size_t>(ReadU16(record, macros::kRecordOffActionCount), macros::kMaxActions);
    for (std::size_t a = 0; a < actions; ++a) {
      const std::size_t at =
          macros::kRecordOffActions + a * macros::kMacroActionSize + macros::kActionOffDelay;
      if (!macros::DelayFitsImage(ReadU32(record, at))) return false;
    }
  }
  return true;
}

}  // namespace

std::uint8_t HeaderChecksum(std::span<const std::uint8_t> header) {
  unsigned sum = 0;
  for (std::size_t i = 0; i < kHdrOffChecksum; ++i) sum += header[i];
  return static_cast<std::uint8_t>(sum & 0xFF);
}

bool IsValidSettingsFile(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kMinFileSize) return false;
  const std::uint32_t total = ReadU32(bytes, kHdrOffTotalSize);
  const Areas areas = ReadAreas(bytes);
  const bool header_ok =
      ReadU16(bytes, kHdrOffMagic) == kMagic && ReadU16(bytes, kHdrOffHeaderSize) == kHeaderSize &&
      ReadU16(bytes, kHdrOffFormatA) == kFormatA && ReadU16(bytes, kHdrOffFormatB) == kFormatB &&
      total >= kMinFileSize && ReadU16(bytes, kHdrOffRecordCount) == keys::kRecordCount &&
      areas.macro_count <= macros::kMaxMacros && bytes[kHdrOffFlag] <= kMaxFlag &&
      total == SettingsFileSize(areas.macro_count, areas.text_size) &&
      bytes[kHdrOffChecksum] == HeaderChecksum(bytes);
  // A file cut short would load as a partial store after the old one has been cleared.
  if (!header_ok || bytes.size() < total) return false;
  if (!DelaysFitTheKeyboard(bytes, areas.macro_count)) return false;
  return WalkTexts(KeyTableBytes(bytes), TextAreaBytes(bytes, areas),
                   [](std::size_t, std::size_t, std::size_t) {});
}

void WriteDescriptor(SettingsHeader& header) {
  const std::span<std::uint8_t> h(header);
  for (std::size_t w = 0; w < kDescriptorWords; ++w) {
    std::uint32_t value = kDescriptorConstants[w];
    if (w == kDescriptorIdsWord) {
      value = static_cast<std::uint32_t>(device::kVendorId) |
              (static_cast<std::uint32_t>(device::kProductId) << 16);
    }
    WriteU32(h, kDescriptorOffset + 4 * w, value);
  }
}

void RebuildSettingsHeader(SettingsHeader& header, std::uint16_t macro_count,
                           std::uint32_t text_size) {
  const std::span<std::uint8_t> h(header);
  const bool no_descriptor =
      std::all_of(h.begin() + kDescriptorOffset, h.end(), [](std::uint8_t b) { return b == 0; });
  std::fill(h.begin(), h.begin() + kHeaderSize, std::uint8_t{0});
  WriteU16(h, kHdrOffMagic, kMagic);
  WriteU16(h, kHdrOffHeaderSize, kHeaderSize);
  WriteU16(h, kHdrOffFormatA, kFormatA);
  WriteU16(h, kHdrOffFormatB, kFormatB);
  WriteU32(h, kHdrOffTotalSize, static_cast<std::uint32_t>(SettingsFileSize(macro_count, text_size)));
  WriteU16(h, kHdrOffRecordCount, static_cast<std::uint16_t>(keys::kRecordCount));
  WriteU16(h, kHdrOffMacroCount, macro_count);
  WriteU32(h, kHdrOffTextSize, text_size);
  h[kHdrOffFlag] = 0;
  h[kHdrOffChecksum] = HeaderChecksum(h);
  if (no_descriptor) WriteDescriptor(header);
}

void AssignTextOffsets(keys::ProfileKeyTable& table, const keys::KeyStringTable& strings) {
  std::uint64_t offset = 0;
  for (std::size_t i = 0; i < keys::kRecordCount; ++i) {
    const std::uint64_t size = PackedTextSize(table, strings, i);
    if (size == 0) continue;
    // Offsets past 32 bits only arise for areas no file can hold; the encoder refuses those.
    table.records[i].parameter = static_cast<std::uint32_t>(offset);
    offset += size;
  }
}

std::uint64_t TextAreaSize(const keys::ProfileKeyTable& table, const keys::KeyStringTable& strings) {
  std::uint64_t size = strings.Total();
  for (std::size_t i = 0; i < keys::kRecordCount; ++i) {
    if (keys::CarriesText(table.records[i].type) && !strings.Has(i)) size += kEmptyTextSize;
  }
  return size;
}

SettingsCodecResult EncodeSettingsFile(const SettingsContentView& content,
                                       std::vector<std::uint8_t>& out) {
  if (content.macros.size() > macros::kMaxMacros) return SettingsCodecResult::Refused;
  const std::uint64_t text_size = TextAreaSize(content.table, content.strings);
  // The total size is a 32-bit field, and the whole file is built in memory.
  const std::uint64_t file_size = SettingsFileSize(content.macros.size(), text_size);
  if (file_size > 0xFFFFFFFFu || file_size > SIZE_MAX) return SettingsCodecResult::Refused;
  std::vector<std::uint8_t> bytes;
  std::unique_ptr<keys::ProfileKeyTable> table;
  try {
    bytes.assign(static_cast<std::size_t>(file_size), 0);
    table = std::make_unique<keys::ProfileKeyTable>(content.table);
  } catch (const std::bad_alloc&) {
    return SettingsCodecResult::Refused;
  }
  SettingsHeader header = content.header;
  RebuildSettingsHeader(header, static_cast<std::uint16_t>(content.macros.size()),
                        static_cast<std::uint32_t>(text_size));
  std::copy(header.begin(), header.end(), bytes.begin());

  AssignTextOffsets(*table, content.strings);
  const std::span<std::uint8_t> text_area = std::span<std::uint8_t>(bytes).subspan(
      static_cast<std::size_t>(SettingsFileSize(content.macros.size(), 0)));
  for (std::size_t i = 0; i < keys::kRecordCount; ++i) {
    // An empty text is its terminator alone, which the zeroed area already holds.
    const std::uint64_t size = PackedTextSize(*table, content.strings, i);
    if (size <= kEmptyTextSize) continue;
    const std::uint32_t offset = table->records[i].parameter;
    if (offset + size > text_size) continue;
    const std::u16string& text = content.strings.Text(i);
    for (std::size_t u = 0; u < text.size(); ++u) {
      WriteU16(text_area, offset + 2 * u, static_cast<std::uint16_t>(text[u]));
    }
  }

  keys::EncodeProfileKeyTable(*table, std::span<std::uint8_t>(bytes)
                                          .subspan(kKeyTableOffset)
                                          .first<keys::kProfileKeyTableSize>());
  for (std::size_t m = 0; m < content.macros.size(); ++m) {
    macros::EncodeMacroRecord(
        content.macros[m], std::span<std::uint8_t>(bytes)
                               .subspan(kMacroAreaOffset + m * macros::kMacroRecordSize)
                               .first<macros::kMacroRecordSize>());
  }
  out = std::move(bytes);
  return SettingsCodecResult::Ok;
}

SettingsCodecResult DecodeSettingsFile(std::span<const std::uint8_t> bytes, SettingsContent& out) {
  if (!IsValidSettingsFile(bytes)) return SettingsCodecResult::Refused;
  const Areas areas = ReadAreas(bytes);
  try {
    std::copy(bytes.begin(), bytes.begin() + kSettingsHeaderSize, out.header.begin());
    keys::DecodeProfileKeyTable(bytes.subspan(kKeyTableOffset).first<keys::kProfileKeyTableSize>(),
                                out.table);
    out.macros.clear();
    out.macros.reserve(areas.macro_count);
    for (std::size_t m = 0; m < areas.macro_count; ++m) {
      out.macros.push_back(macros::DecodeMacroRecord(
          bytes.subspan(kMacroAreaOffset + m * macros::kMacroRecordSize)
              .first<macros::kMacroRecordSize>()));
    }
    const std::span<const std::uint8_t> text_area = TextAreaBytes(bytes, areas);
    out.strings.ClearAll();
    std::u16string text;
    const bool fits = WalkTexts(KeyTableBytes(bytes), text_area,
                                [&](std::size_t i, std::size_t start, std::size_t units) {
                                  text.resize(units);
                                  for (std::size_t u = 0; u < units; ++u) {
                                    text[u] = static_cast<char16_t>(ReadU16(text_area, start + 2 * u));
                                  }
                                  out.strings.Set(i, text);
                                });
    if (!fits) return SettingsCodecResult::Refused;
  } catch (const std::bad_alloc&) {
    return SettingsCodecResult::Refused;
  }
  return SettingsCodecResult::Ok;
}

void MakeDefaultTable(keys::ProfileKeyTable& table) {
  table = keys::ProfileKeyTable{};
  for (std::size_t bank = 0; bank < keys::kGBankCount; ++bank) {
    for (std::size_t g = 0; g < keys::kGKeyCount; ++g) {
      table.At(0, keys::GRecordIndex(bank, g)).key_field = keys::GKeyFieldCode(bank, g);
    }
  }
}

}  // namespace vendrel::profiles
