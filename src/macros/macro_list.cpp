#include "macros/macro_list.h"

#include <algorithm>
#include <new>

namespace vendrel::macros {

std::size_t MacroPositionOf(const MacroList& list, MacroId id) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (list[i].id == id) return i;
  }
  return 0;
}

MacroId NextFreeMacroId(std::span<const MacroRecord> list) {
  for (MacroId id = 1; id <= kMaxMacros; ++id) {
    const bool taken =
        std::any_of(list.begin(), list.end(), [id](const MacroRecord& m) { return m.id == id; });
    if (!taken) return id;
  }
  return 0;
}

bool MayAddMacro(std::size_t count) { return count < kMaxMacros; }

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
    const MacroId id = keys::MacroIdOf(r);
    if (id != 0) {
      const auto found = std::find_if(edited.begin(), edited.end(),
                                      [id](const MacroRecord& m) { return m.id == id; });
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

}  // namespace vendrel::macros
