#include "keys/key_map_write.h"

#include <array>
#include <new>
#include <vector>

#include "device/results.h"
#include "macros/macro_space_fit.h"
#include "profiles/settings_file_codec.h"

namespace vendrel::keys {

bool CommitToDeviceStore(WorkingStore& working, DeviceStore& device_store) {
  auto working_lock = working.Lock();
  auto device_lock = device_store.Lock();
  device_store.Clear();
  try {
    device_store.Table() = working.Table();
    device_store.macros = working.macros;
    std::uint32_t offset = 0;
    for (std::size_t i = 0; i < kRecordCount; ++i) {
      if (!working.strings.Has(i)) continue;
      KeyAssignment& r = device_store.Table().records[i];
      if (!CarriesText(r.type)) continue;
      device_store.strings.Set(i, working.strings.Text(i));
      r.parameter = offset;
      offset += working.strings.Size(i);
    }
    profiles::RebuildSettingsHeader(device_store.Table(),
                                    static_cast<std::uint16_t>(device_store.macros.size()),
                                    device_store.strings.Total());
  } catch (const std::bad_alloc&) {
    device_store.Clear();
    return false;
  }
  return true;
}

int WriteKeyMaps(WorkingStore& working, DeviceStore& device_store, bool all_profiles,
                 const KeyMapWriteTarget& target) {
  auto working_lock = working.Lock();
  if (!CommitToDeviceStore(working, device_store)) return kWriteNotSent;

  const macros::FittedMacroImage image =
      macros::FitMacroImage(device_store, target.macro_space, target.boxes, target.texts);
  if (image.result != macros::kFitOk) return kWriteNotSent;

  std::vector<int> profiles;
  if (all_profiles) {
    profiles = {0, 1, 2};
  } else {
    const int current = target.commands.GetActiveProfile();
    if (current < 0 || current >= static_cast<int>(kDeviceProfileCount)) return kWriteNoProfile;
    profiles = {current};
  }

  std::vector<DeviceKeyMap> maps;
  {
    auto device_lock = device_store.Lock();
    for (int k : profiles) {
      maps.push_back(EncodeKeyMap(device_store.Table().Block(static_cast<std::size_t>(k)),
                                  target.factory_map, device_store.macros));
    }
  }

  // Failures of single packets do not stop the sequence: the end command must still close the
  // transfer, and only the last key map decides the result.
  target.commands.BeginTransfer();
  target.commands.WriteMacroArea(image.bytes, static_cast<std::uint32_t>(image.bytes.size()));
  int result = device::kNotSent;
  for (std::size_t i = 0; i < profiles.size(); ++i) {
    result = target.commands.WriteKeyMap(maps[i], profiles[i]);
  }
  target.commands.EndTransfer();

  if (!image.with_names) macros::ShowNamesDroppedMessage(target.boxes, target.texts);
  return result;
}

}  // namespace vendrel::keys
