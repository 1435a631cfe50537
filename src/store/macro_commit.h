#pragma once
// The macro list as a store holds it: readers under the store's lock, and the commit of an edited
// list into the WorkingStore together with the repair of the assignments that name macros.
#include <cstddef>
#include <span>

#include "macros/macro_list.h"
#include "macros/macro_record.h"
#include "store/key_store.h"

namespace vendrel::store {

// Readers of a store's list; each takes the store's lock.
std::size_t MacroCount(const KeyStore& store);
// A copy of the record at position; false when position is out of range.
bool MacroAt(const KeyStore& store, std::size_t position, macros::MacroRecord& out);
// Id of the macro at position; 0 when position is negative or not below the count.
macros::MacroId MacroIdAt(const KeyStore& store, int position);
// Position of the first macro holding id; 0 when none does (the keyboard then plays macro 0).
std::size_t MacroPositionOf(const KeyStore& store, macros::MacroId id);

struct MacroCommit {
  bool committed = false;            // false: no memory for the new list; nothing changed
  bool assignments_changed = false;  // the caller enables Apply
};

// Stores the edited list, in its order, into the WorkingStore: repairs every macro assignment of
// all four profile blocks, clears the new flag in edited (the caller's copies) and in the stored
// records, cuts names to the record's field, and replaces the store's list as a whole. The repair
// and the new list happen under one hold of the lock, so no reader sees one without the other.
MacroCommit CommitMacroList(WorkingStore& store, std::span<macros::MacroRecord> edited);

}  // namespace vendrel::store
