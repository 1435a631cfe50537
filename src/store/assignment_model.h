#pragma once
// Reading and editing the assignments of the WorkingStore, and the text that describes one.
// Every function takes the store's lock itself (re-entrant, so callers may already hold it).
#include <cstddef>
#include <cstdint>
#include <string>

#include "keys/key_assignment.h"
#include "texts/text_table.h"
#include "store/key_store.h"

namespace vendrel::store {

enum class AssignResult : int {
  Ok = 1,
  OutOfRange = -201,  // block, record or bank out of range; nothing changed
};

// The record, or a zero record when block or record is out of range.
keys::KeyAssignment ReadAssignment(const WorkingStore& store, std::size_t block, std::size_t record);

// Releases the record's text, stores text when the new type carries one, then stores type, key
// field and parameter. The colour flag and reserved field stay: they belong to the key button
// at that position, not to the assignment.
AssignResult WriteAssignment(WorkingStore& store, std::size_t block, std::size_t record,
                             const keys::KeyAssignment& assignment, std::u16string_view text = {});

// Restores the default function of the 104 key buttons' keys and of the nine G keys of the
// active bank in block: their records become all zero (G code included) and their texts are
// released.
AssignResult RestoreDefaultAssignments(WorkingStore& store, std::size_t block, std::size_t bank);

// The key's name (or "G<n>") and, when the record is not Default, what it is set to. Record is
// the index in the block: a key slot 0..255 or a G record 256..273.
std::u16string AssignmentText(const WorkingStore& store, std::size_t block, std::size_t record,
                              const texts::TextTable& texts);

// A key is marked as set when its type is not Default.
bool IsAssignmentSet(const keys::KeyAssignment& assignment);

}  // namespace vendrel::store
