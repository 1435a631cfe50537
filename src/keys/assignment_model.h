#pragma once
// Reading and editing the assignments of the WorkingStore, and the text that describes one.
// Every function takes the store's lock itself (re-entrant, so callers may already hold it).
#include <cstddef>
#include <cstdint>
#include <string>

#include "keys/key_store.h"
#include "texts/text_table.h"

namespace vendrel::keys {

// Results.
inline constexpr int kAssignOk = 1;
inline constexpr int kAssignOutOfRange = -201;

// The record, or a zero record when block or record is out of range.
KeyAssignment ReadAssignment(const WorkingStore& store, std::size_t block, std::size_t record);

// Releases the record's text, stores text when the new type carries one, then stores type, key
// field and parameter. The colour flag and reserved field stay: they belong to the key button
// at that position, not to the assignment.
int WriteAssignment(WorkingStore& store, std::size_t block, std::size_t record,
                    const KeyAssignment& assignment, std::u16string_view text = {});

// Restores the default function of the 104 key buttons' keys and of the nine G keys of the
// active bank in block: their records become all zero (G code included) and their texts are
// released.
int RestoreDefaultAssignments(WorkingStore& store, std::size_t block, std::size_t bank);

// The key's name (or "G<n>") and, when the record is not Default, what it is set to. Record is
// the index in the block: a key slot 0..255 or a G record 256..273.
std::u16string AssignmentText(const WorkingStore& store, std::size_t block, std::size_t record,
                              const texts::TextTable& texts);

// A key is marked as set when its type is not Default.
bool IsAssignmentSet(const KeyAssignment& assignment);

}  // namespace vendrel::keys
