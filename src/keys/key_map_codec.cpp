#include "keys/key_map_codec.h"

#include <optional>

#include "keys/assignment_tables.h"

namespace vendrel::keys {
namespace {

constexpr KeyMapEntry kNoFunction{};
constexpr KeyMapEntry kStopMacro{kEntryKindMacro, kMacroSubStop, 0};

std::uint16_t EntryWord(const KeyMapEntry& e) {
  return static_cast<std::uint16_t>(e.sub | (e.value << 8));
}

// Position of the macro with this id in the list.
std::optional<std::size_t> MacroPosition(std::span<const std::uint16_t> ids, std::uint16_t id) {
  if (id == 0) return std::nullopt;
  for (std::size_t i = 0; i < ids.size(); ++i) {
    if (ids[i] == id) return i;
  }
  return std::nullopt;
}

// The entry a record asks for at a position whose factory entry is factory.
KeyMapEntry EncodeRecord(const KeyAssignment& r, KeyMapEntry factory,
                         std::span<const std::uint16_t> macro_ids) {
  switch (r.type) {
    case AssignmentType::Disabled:
    case AssignmentType::TextBlock:
      return kNoFunction;
    case AssignmentType::Key: {
      const auto target = static_cast<KeyCode>(r.parameter);
      if (r.parameter <= 0xFFFF) {
        if (const std::uint8_t bit = ModifierBit(target)) {
          return {kUsageKindKeyboard, kKeyboardSubModifier, bit};
        }
      }
      const HidUsage usage = r.parameter <= 0xFFFF ? KeyUsage(target) : HidUsage{};
      const auto value = static_cast<std::uint8_t>(usage.page == kPageKeyboard ? usage.usage : 0);
      return {kUsageKindKeyboard, kKeyboardSubUsage, value};
    }
    case AssignmentType::Macro: {
      const auto position = MacroPosition(macro_ids, MacroIdOf(r));
      // The keyboard numbers macros by position; a stale id must not play another macro.
      if (!position || *position > 0xFF) return factory;
      return {kEntryKindMacro, kMacroSubPlay, static_cast<std::uint8_t>(*position)};
    }
    case AssignmentType::StopMacro:
      return kStopMacro;
    case AssignmentType::Media: {
      if (r.parameter >= kMediaTable.size()) return factory;  // no usage to send
      const std::uint16_t usage = kMediaTable[r.parameter].consumer_usage;
      return {kUsageKindConsumer, static_cast<std::uint8_t>(usage & 0xFF),
              static_cast<std::uint8_t>(usage >> 8)};
    }
    case AssignmentType::Function:
      return {kEntryKindMacro, kMacroSubFunction, static_cast<std::uint8_t>(r.parameter & 0xFF)};
    case AssignmentType::Default:
    case AssignmentType::LaunchProgram:
    default:  // a type from a file that this program does not know
      return factory;
  }
}

}  // namespace

KeyMapEntry EntryAt(KeyMapView map, std::size_t position) {
  const std::size_t at = position * kKeyMapEntryBytes;
  return {map[at + kEntryOffKind], map[at + kEntryOffSub], map[at + kEntryOffValue]};
}

void SetEntry(std::span<std::uint8_t, kKeyMapBytes> map, std::size_t position, KeyMapEntry entry) {
  const std::size_t at = position * kKeyMapEntryBytes;
  map[at + kEntryOffKind] = entry.kind;
  map[at + kEntryOffSub] = entry.sub;
  map[at + kEntryOffValue] = entry.value;
}

KeyCode EntryKey(const KeyMapEntry& entry) {
  return UsageTripleKey(entry.kind, entry.sub, entry.value);
}

DeviceKeyMap EncodeKeyMap(ConstProfileBlock block, KeyMapView factory,
                          std::span<const std::uint16_t> macro_ids) {
  DeviceKeyMap out{};
  std::copy(factory.begin(), factory.end(), out.begin());
  for (std::size_t p = 0; p < kMatrixPositions; ++p) {
    const KeyMapEntry f = EntryAt(factory, p);
    const KeyCode key = EntryKey(f);
    if (key == kNoKey) continue;
    SetEntry(out, p, EncodeRecord(block[Fold(key)], f, macro_ids));
  }
  return out;
}

void DecodeKeyMap(KeyMapView map, KeyMapView factory, ProfileBlock block) {
  ResetBlock(block);
  for (std::size_t p = 0; p < kMatrixPositions; ++p) {
    const KeyMapEntry f = EntryAt(factory, p);
    const KeyMapEntry e = EntryAt(map, p);
    if (e == f) continue;
    const KeyCode key = EntryKey(f);
    if (key == kNoKey) continue;
    KeyAssignment& r = block[Fold(key)];
    r.type = AssignmentType::Disabled;
    r.parameter = 0;
    if (e.kind == kEntryKindMacro && e.sub == kMacroSubPlay) {
      r.type = AssignmentType::Macro;
      r.parameter = e.value + 1u;
    } else if (e.kind == kEntryKindMacro && e.sub == kMacroSubStop) {
      r.type = AssignmentType::StopMacro;
    } else if (e.kind == kEntryKindMacro && e.sub == kMacroSubFunction) {
      r.type = AssignmentType::Function;
      r.parameter = e.value;
    } else if (e.kind == kUsageKindConsumer) {
      if (const auto media = MediaIndexOfUsage(EntryWord(e))) {
        r.type = AssignmentType::Media;
        r.parameter = static_cast<std::uint32_t>(*media);
      }
    } else if (e.kind == kUsageKindKeyboard && e.sub == kKeyboardSubUsage) {
      // Only a key that is written back with this very usage: another would change the entry on
      // the next write, so such an entry counts as unknown, like any other.
      const KeyCode k = UsageKey(kPageKeyboard, e.value);
      if (k != kNoKey && KeyUsage(k) == HidUsage{kPageKeyboard, e.value}) {
        r.type = AssignmentType::Key;
        r.parameter = k;
      }
    } else if (e.kind == kUsageKindKeyboard && e.sub == kKeyboardSubModifier && e.value != 0) {
      r.type = AssignmentType::Key;
      r.parameter = ModifierKey(e.value);
    }
  }
}

}  // namespace vendrel::keys
