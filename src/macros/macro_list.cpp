#include "macros/macro_list.h"

#include <algorithm>
#include <new>

namespace vendrel::macros {

std::size_t MacroCount(const keys::KeyStore& store) {
  auto lock = store.Lock();
  return store.macros.size();
}

bool MacroAt(const keys::KeyStore& store, std::size_t position, MacroRecord& out) {
  auto lock = store.Lock();
  if (position >= store.macros.size()) return false;
  out = store.macros[position];
  return true;
}

MacroId MacroIdAt(const keys::KeyStore& store, int position) {
  auto lock = store.Lock();
  if (position < 0 || static_cast<std::size_t>(position) >= store.macros.size()) return 0;
  return store.macros[static_cast<std::size_t>(position)].id;
}

std::size_t MacroPositionOf(const MacroList& list, MacroId id) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (list[i].id == id) return i;
  }
  return 0;
}

std::size_t MacroPositionOf(const keys::KeyStore& store, MacroId id) {
  auto lock = store.Lock();
  return MacroPositionOf(store.macros, id);
}

MacroId NextFreeMacroId(std::span<const MacroRecord> list) {
  for (MacroId id = 1; id <= kMaxMacros; ++id) {
    const bool taken =
        std::any_of(list.begin(), list.end(), [id](const MacroRecord& m) { return m.id == id; });
    if (!taken) return id;
  }
  return 0;
}

bool MayAddMacro(std::size_t count, platform::MessageBoxes& boxes, const texts::TextTable& texts) {
  if (count < kMaxMacros) return true;
  boxes.ShowOk(texts.Format(texts::TextKey::MACRO_ERR_MAX, {static_cast<std::int64_t>(kMaxMacros)}));
  return false;
}

bool AppendAction(MacroRecord& macro, const MacroAction& action) {
  if (macro.actions.size() >= kMaxActions) return false;
  MacroAction normalised = action;
  normalised.kind = NormalisedKind(action.kind);
  macro.actions.push_back(normalised);
  return true;
}

std::u16string FittedMacroName(std::u16string_view name) {
  const std::size_t end = name.find(u'\0');
  if (end != std::u16string_view::npos) name = name.substr(0, end);
  return std::u16string(name.substr(0, std::min(name.size(), kMaxNameLength)));
}

bool RepairMacroAssignments(std::span<keys::KeyAssignment> records,
                            std::span<const MacroRecord> edited) {
  bool changed = false;
  for (keys::KeyAssignment& r : records) {
    if (r.type != keys::AssignmentType::Macro) continue;
    if (r.parameter != 0) {
      const auto found = std::find_if(edited.begin(), edited.end(), [&r](const MacroRecord& m) {
        return m.id == r.parameter;
      });
      // A new macro may carry the id of one deleted in the same editing: the key meant the
      // deleted macro and must not silently start playing the new one.
      if (found == edited.end() || found->new_flag != 0) {
        r.type = keys::AssignmentType::Default;
        changed = true;
      }
    } else if (!edited.empty()) {
      r.parameter = edited.front().id;
      changed = true;
    }
  }
  return changed;
}

MacroCommit CommitMacroList(keys::WorkingStore& store, std::span<MacroRecord> edited) {
  MacroCommit result;
  // Every copy is made before anything changes, so that a failed allocation leaves the store and
  // its assignments as they were.
  MacroList fresh;
  try {
    fresh.reserve(edited.size());
    for (const MacroRecord& m : edited) {
      MacroRecord copy = m;
      copy.new_flag = 0;
      copy.name = FittedMacroName(copy.name);
      if (copy.actions.size() > kMaxActions) copy.actions.resize(kMaxActions);
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
        RepairMacroAssignments(std::span<keys::KeyAssignment>(store.Table().records), edited);
  }
  for (MacroRecord& m : edited) m.new_flag = 0;
  {
    auto lock = store.Lock();
    store.macros = std::move(fresh);
  }
  result.committed = true;
  return result;
}

}  // namespace vendrel::macros
