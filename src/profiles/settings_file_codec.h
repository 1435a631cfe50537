#pragma once
// Settings file bytes to and from a key store. Pure over bytes and the store's content; the caller
// holds the store's lock.
#include <cstdint>
#include <span>
#include <vector>

#include "keys/key_store.h"
#include "profiles/settings_file_format.h"

namespace vendrel::profiles {

// Sum of header bytes 0..30 modulo 256.
std::uint8_t HeaderChecksum(std::span<const std::uint8_t> header);

// True when bytes start with a header that passes every check of a settings file: magic, header
// size, the two format constants, record count 2048, at most 100 macros, flag 0 or 1, total size
// equal to the areas it names, checksum, and bytes long enough to hold those areas.
bool IsValidSettingsFile(std::span<const std::uint8_t> bytes);

// Writes the 32-byte header of a file with these counts (flag 0, checksum last). The descriptor is
// left as the table holds it, unless it is all zero: then it receives the constants.
void RebuildSettingsHeader(keys::ProfileKeyTable& table, std::uint16_t macro_count,
                           std::uint32_t text_size);

// The descriptor constants with the keyboard's ids.
void WriteDescriptor(keys::ProfileKeyTable& table);

// Packs the texts of the store's launch-program and text-block records into a text area of
// strings.Total() bytes, each record's parameter becoming its text's offset; rebuilds the header;
// then lays out the whole file. Returns 1, or 0 (out unchanged) when the store has more macros
// than a file holds.
int SerializeStore(keys::KeyStore& store, std::vector<std::uint8_t>& out);

// Fills the store (table, macros, texts) from a file's bytes. Returns 1, or 0 leaving the store
// untouched when the header is not that of a settings file or the bytes end before the areas it
// names. A text offset outside the text area gives the record no text; a text without terminator
// ends at the end of the area.
int DeserializeStore(std::span<const std::uint8_t> bytes, keys::KeyStore& store);

// The table of a new store: the header of an empty file, the descriptor, all records zero except
// the G codes of block 0.
void MakeDefaultTable(keys::ProfileKeyTable& table);

}  // namespace vendrel::profiles
