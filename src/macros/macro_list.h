#pragma once
// The one list of macros shared by all profiles, as the WorkingStore holds it, and the commit of
// an edited list with the repair of the key assignments that refer to macros.
#include <cstddef>
#include <span>

#include "keys/key_assignment.h"
#include "keys/key_store.h"
#include "macros/macro_record.h"
#include "platform/message_box.h"
#include "texts/text_table.h"

namespace vendrel::macros {

// Readers of a store's list; each takes the store's lock.
std::size_t MacroCount(const keys::KeyStore& store);
// A copy of the record at position, or nothing when position is out of range.
bool MacroAt(const keys::KeyStore& store, std::size_t position, MacroRecord& out);
// Id of the macro at position; 0 when position is negative or not below the count.
MacroId MacroIdAt(const keys::KeyStore& store, int position);
// Position of the first macro holding id; 0 when none does (the keyboard then plays macro 0).
std::size_t MacroPositionOf(const keys::KeyStore& store, MacroId id);
// The same over a list the caller already holds (under the store's lock).
std::size_t MacroPositionOf(const MacroList& list, MacroId id);

// The id a macro created now receives: the lowest value in 1..100 that no macro of list holds;
// 0 when all are taken.
MacroId NextFreeMacroId(std::span<const MacroRecord> list);

// True when a list of count macros may take one more. Otherwise MACRO_ERR_MAX, filled with the
// limit, is shown in an OK box and false returned.
bool MayAddMacro(std::size_t count, platform::MessageBoxes& boxes, const texts::TextTable& texts);

// Appends an action with its kind normalised; an action beyond the 2000th is dropped without a
// message (false).
bool AppendAction(MacroRecord& macro, const MacroAction& action);

// Cuts a name to what the record's name field holds and stops it at an embedded 0 unit.
std::u16string FittedMacroName(std::u16string_view name);

// Repairs the macro assignments of records against an edited list: an id that the list does not
// hold, or holds on a macro still marked new, falls back to the default function; a macro
// assignment without an id receives the first macro's id. True when any record changed.
bool RepairMacroAssignments(std::span<keys::KeyAssignment> records,
                            std::span<const MacroRecord> edited);

struct MacroCommit {
  bool committed = false;            // false: no memory for the new list; nothing changed
  bool assignments_changed = false;  // the caller enables Apply
};

// Stores the edited list, in its order, into the WorkingStore: repairs every macro assignment of
// all four profile blocks, clears the new flag in edited (the caller's copies) and in the stored
// records, cuts names to the record's field, and replaces the store's list as a whole.
MacroCommit CommitMacroList(keys::WorkingStore& store, std::span<MacroRecord> edited);

}  // namespace vendrel::macros
