#pragma once
// The one list of macros shared by all profiles: identities, limits, names, and the repair of the
// key assignments that refer to macros when an edited list replaces the old one.
#include <cstddef>
#include <span>

#include "keys/key_assignment.h"
#include "macros/macro_record.h"

namespace vendrel::macros {

// Position of the first macro holding id; 0 when none does (the keyboard then plays macro 0).
std::size_t MacroPositionOf(const MacroList& list, MacroId id);

// The id a macro created now receives: the lowest value in 1..100 that no macro of list holds;
// 0 when all are taken.
MacroId NextFreeMacroId(std::span<const MacroRecord> list);

// True when a list of count macros may take one more; the window logic tells the user otherwise.
bool MayAddMacro(std::size_t count);

// Appends an action with its kind normalised; an action beyond the 2000th is dropped without a
// message (false).
bool AppendAction(MacroRecord& macro, const MacroAction& action);

// Cuts a name to what the record's name field holds and stops it at an embedded 0 unit.
std::u16string FittedMacroName(std::u16string_view name);

// Repairs the macro assignments of records against an edited list: an id (keys::MacroIdOf) that
// the list does not hold, or holds on a macro still marked new, falls back to the default
// function; a macro assignment without an id receives the first macro's id. True when any record
// changed.
bool RepairMacroAssignments(std::span<keys::KeyAssignment> records,
                            std::span<const MacroRecord> edited);

}  // namespace vendrel::macros
