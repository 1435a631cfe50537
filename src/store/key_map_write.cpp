#include "store/key_map_write.h"

#include <new>
#include <vector>

#include "device/results.h"
#include "profiles/settings_file_codec.h"

namespace vendrel::store {

std::vector<std::uint16_t> MacroIds(std::span<const macros::MacroRecord> list) {
  std::vector<std::uint16_t> ids;
  ids.reserve(list.size());
  for (const macros::MacroRecord& m : list) ids.push_back(m.id);
  return ids;
}

bool CommitToDeviceStore(WorkingStore& working, DeviceStore& device_store) {
  auto working_lock = working.Lock();
  auto device_lock = device_store.Lock();
  device_store.Clear();
  try {
    device_store.Table() = working.Table();
    device_store.macros = working.macros;
    for (std::size_t i = 0; i < keys::kRecordCount; ++i) {
      if (working.strings.Has(i) && keys::CarriesText(working.Table().records[i].type)) {
        device_store.strings.Set(i, working.strings.Text(i));
      }
    }
    profiles::AssignTextOffsets(device_store.Table(), device_store.strings);
    profiles::RebuildSettingsHeader(
        device_store.settings_header, static_cast<std::uint16_t>(device_store.macros.size()),
        static_cast<std::uint32_t>(profiles::TextAreaSize(device_store.Table(), device_store.strings)));
  } catch (const std::bad_alloc&) {
    device_store.Clear();
    return false;
  }
  return true;
}

KeyMapWriteOutcome WriteKeyMaps(WorkingStore& working, DeviceStore& device_store, bool all_profiles,
                                const KeyMapWriteTarget& target) {
  KeyMapWriteOutcome outcome;
  auto working_lock = working.Lock();
  if (!CommitToDeviceStore(working, device_store)) {
    outcome.fit = macros::FitResult::NoMemory;
    return outcome;
  }

  std::uint32_t macro_space = 0;
  if (target.macro_space.has_value()) {
    macro_space = *target.macro_space;
  } else {
    device::InfoBlock info{};
    if (!device::Succeeded(target.commands.ReadInformation(info))) {
      outcome.status = KeyMapWrite::Unreadable;
      return outcome;
    }
    macro_space = macros::MacroSpaceFromUnits(info[device::kInfoOffMacroSpace]);
  }

  macros::FittedMacroImage image;
  std::vector<std::uint16_t> ids;
  {
    auto device_lock = device_store.Lock();
    image = macros::FitMacroImage(device_store.macros, macro_space);
    outcome.fit = image.result;
    try {
      if (image.result == macros::FitResult::UnsendableKey) {
        outcome.unsendable = image.unsendable;
        outcome.unsendable_macro_name = device_store.macros[image.unsendable.macro].name;
      }
      if (image.result != macros::FitResult::Ok) return outcome;
      ids = MacroIds(device_store.macros);
    } catch (const std::bad_alloc&) {
      outcome.fit = macros::FitResult::NoMemory;
      return outcome;
    }
  }

  std::vector<int> profiles;
  if (all_profiles) {
    profiles = {0, 1, 2};
  } else {
    const int current = target.commands.GetActiveProfile();
    if (current < 0 || current >= device::kProfileCount) {
      outcome.status = KeyMapWrite::NoProfile;
      return outcome;
    }
    profiles = {current};
  }

  std::vector<keys::DeviceKeyMap> maps;
  {
    auto device_lock = device_store.Lock();
    for (int k : profiles) {
      maps.push_back(keys::EncodeKeyMap(device_store.Table().Block(static_cast<std::size_t>(k)),
                                        target.factory_map, ids));
    }
  }

  // A transfer the keyboard did not acknowledge beginning gets nothing further. After a failed
  // packet the rest of the data is not sent (it would land in a transfer already torn), but a
  // begun transfer is still closed.
  // Every chunk skipped below is read back first: a read costs a packet like the write it saves,
  // but it changes nothing on the keyboard and keeps the bracket (where a cut tears the keyboard's
  // settings) to the chunks that differ.
  target.commands.ConfirmKnownMacroChunks(image.bytes);
  int result = target.commands.BeginTransfer();
  if (result == device::kOk) {
    // Chunks just read back unchanged are skipped: with a full macro memory a one-key change
    // writes the key map alone, and the keyboard's flash is not rewritten for nothing.
    result = target.commands.WriteChangedMacroArea(image.bytes,
                                                   static_cast<std::uint32_t>(image.bytes.size()));
    for (std::size_t i = 0; i < profiles.size() && result == device::kOk; ++i) {
      result = target.commands.WriteKeyMap(maps[i], profiles[i]);
    }
    const int end = target.commands.EndTransfer();
    if (result == device::kOk) result = end;
  }

  outcome.status = KeyMapWrite::Sent;
  outcome.names_dropped = !image.with_names;
  outcome.last_map_result = result;
  return outcome;
}

}  // namespace vendrel::store
