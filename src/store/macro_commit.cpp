#include "store/macro_commit.h"

#include <new>
#include <stdexcept>

namespace vendrel::store {

using macros::MacroId;
using macros::MacroList;
using macros::MacroRecord;

std::size_t MacroCount(const KeyStore& store) {
  auto lock = store.Lock();
  return store.macros.size();
}

bool MacroAt(const KeyStore& store, std::size_t position, MacroRecord& out) {
  auto lock = store.Lock();
  if (position >= store.macros.size()) return false;
  out = store.macros[position];
  return true;
}

MacroId MacroIdAt(const KeyStore& store, int position) {
  auto lock = store.Lock();
  if (position < 0 || static_cast<std::size_t>(position) >= store.macros.size()) return 0;
  return store.macros[static_cast<std::size_t>(position)].id;
}

std::size_t MacroPositionOf(const KeyStore& store, MacroId id) {
  auto lock = store.Lock();
  return macros::MacroPositionOf(store.macros, id);
}

MacroCommit CommitMacroList(WorkingStore& store, std::span<MacroRecord> edited) {
  MacroCommit result;
  // Every copy is made before anything changes, so that a failed allocation leaves the store and
  // its assignments as they were.
  MacroList fresh;
  try {
    fresh.reserve(edited.size());
    for (const MacroRecord& m : edited) {
      MacroRecord copy = m;
      copy.new_flag = 0;
      copy.name = macros::FittedMacroName(copy.name);
      if (copy.actions.size() > macros::kMaxActions) copy.actions.resize(macros::kMaxActions);
      fresh.push_back(std::move(copy));
    }
  } catch (const std::bad_alloc&) {
    return result;
  } catch (const std::length_error&) {
    return result;
  }
  {
    auto lock = store.Lock();
    result.assignments_changed =
        macros::RepairMacroAssignments(std::span<keys::KeyAssignment>(store.Table().records), edited);
    store.macros = std::move(fresh);
  }
  for (MacroRecord& m : edited) m.new_flag = 0;
  result.committed = true;
  return result;
}

}  // namespace vendrel::store
