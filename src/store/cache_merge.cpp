#include "store/cache_merge.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "macros/macro_image.h"
#include "macros/macro_list.h"
#include "store/key_map_write.h"

namespace vendrel::store {
namespace {

using keys::AssignmentType;
using keys::KeyAssignment;
using macros::MacroList;
using macros::MacroRecord;

// Whether the keyboard's macro holds what the cached one would put there on a write.
bool SameOnKeyboard(const MacroRecord& cached, const MacroRecord& keyboard, bool name_held) {
  if (cached.cycles != keyboard.cycles) return false;
  const std::size_t actions = std::min(cached.actions.size(), macros::kMaxActions);
  if (actions != keyboard.actions.size()) return false;
  for (std::size_t a = 0; a < actions; ++a) {
    if (macros::EncodeImageAction(cached.actions[a]) !=
        macros::EncodeImageAction(keyboard.actions[a])) {
      return false;
    }
  }
  if (!name_held) return true;
  const std::size_t units = std::min(cached.name.size(), macros::kMaxNameLength);
  return std::u16string_view(cached.name).substr(0, units) == keyboard.name;
}

MacroList MergeMacros(const KeyboardSettings& keyboard, const MacroList& cached) {
  MacroList merged = keyboard.macros;
  std::vector<bool> kept(merged.size(), false);
  for (std::size_t i = 0; i < merged.size() && i < cached.size(); ++i) {
    const bool name_held = i < keyboard.names_held.size() && keyboard.names_held[i];
    if (SameOnKeyboard(cached[i], merged[i], name_held)) {
      merged[i] = cached[i];
      kept[i] = true;
    }
  }
  // Kept macros keep their ids: the assignments and G keys of the cache name them by those.
  for (std::size_t i = 0; i < merged.size(); ++i) {
    if (!kept[i]) merged[i].id = 0;
  }
  for (std::size_t i = 0; i < merged.size(); ++i) {
    if (kept[i]) continue;
    const auto own = static_cast<macros::MacroId>(i + 1);
    const bool taken = std::any_of(merged.begin(), merged.end(),
                                   [own](const MacroRecord& m) { return m.id == own; });
    // A list of at most 100 macros always leaves one id free for the one still without.
    merged[i].id = taken ? macros::NextFreeMacroId(merged) : own;
  }
  return merged;
}

// The parameter of a macro assignment made against source, made to name the macro of merged that
// stands where the one it named stood in source.
std::uint32_t RenamedMacro(std::uint32_t parameter, const MacroList& source, const MacroList& merged) {
  const macros::MacroId id = static_cast<macros::MacroId>(parameter & 0xFFFF);
  if (id == 0) return parameter;
  const auto named = std::find_if(source.begin(), source.end(),
                                  [id](const MacroRecord& m) { return m.id == id; });
  const auto place = static_cast<std::size_t>(named - source.begin());
  macros::MacroId now = id;
  if (named != source.end() && place < merged.size()) {
    now = merged[place].id;
  } else if (std::any_of(merged.begin(), merged.end(),
                         [id](const MacroRecord& m) { return m.id == id; })) {
    now = 0;  // it named no macro and must not come to name another
  }
  return (parameter & 0xFFFF0000u) | now;
}

// For every record: whether the keyboard holds what the cache's record would put there.
std::unique_ptr<std::array<bool, keys::kRecordCount>> HeldByKeyboard(const KeyboardSettings& keyboard,
                                                                     keys::KeyMapView factory,
                                                                     const KeyStore& cache) {
  auto held = std::make_unique<std::array<bool, keys::kRecordCount>>();
  held->fill(true);
  const std::vector<std::uint16_t> ids = MacroIds(cache.macros);
  for (std::size_t b = 0; b < keys::kDeviceProfileCount; ++b) {
    const keys::DeviceKeyMap wanted = keys::EncodeKeyMap(cache.Table().Block(b), factory, ids);
    for (std::size_t p = 0; p < keys::kMatrixPositions; ++p) {
      const keys::KeyCode key = keys::EntryKey(keys::EntryAt(factory, p));
      if (key == keys::kNoKey) continue;
      if (keys::EntryAt(wanted, p) != keys::EntryAt(keyboard.maps[b], p)) {
        (*held)[b * keys::kRecordsPerBlock + keys::Fold(key)] = false;
      }
    }
  }
  return held;
}

}  // namespace

void MergeCachedSettings(const KeyboardSettings& keyboard, keys::KeyMapView factory,
                         const KeyStore& cache, KeyStore& out) {
  DecodeKeyboardSettings(keyboard, factory, out);
  out.settings_header = cache.settings_header;
  MacroList merged = MergeMacros(keyboard, cache.macros);
  const auto held = HeldByKeyboard(keyboard, factory, cache);

  for (std::size_t i = 0; i < keys::kRecordCount; ++i) {
    KeyAssignment& record = out.Table().records[i];
    const KeyAssignment& cached = cache.Table().records[i];
    if ((*held)[i]) {
      record = cached;
      if (keys::CarriesText(cached.type) && cache.strings.Has(i)) {
        out.strings.Set(i, cache.strings.Text(i));
      }
      if (record.type == AssignmentType::Macro) {
        record.parameter = RenamedMacro(record.parameter, cache.macros, merged);
      }
    } else {
      record.colour_flag = cached.colour_flag;
      record.reserved = cached.reserved;
      if (record.type == AssignmentType::Macro) {
        record.parameter = RenamedMacro(record.parameter, keyboard.macros, merged);
      }
    }
  }
  out.macros = std::move(merged);
}

}  // namespace vendrel::store
