#pragma once
// The write of macros and key maps to the keyboard ("download"): commit the WorkingStore into the
// DeviceStore, fit the macro image into the keyboard's macro space, encode the key maps, and send
// everything in one bracketed transfer.
#include <cstdint>

#include "device/command_set.h"
#include "keys/key_map_codec.h"
#include "keys/key_store.h"
#include "platform/message_box.h"
#include "texts/text_table.h"

namespace vendrel::keys {

// Results of WriteKeyMaps other than the device results of the last key map.
inline constexpr int kWriteNotSent = 0;       // macros too large (the user was told) or no memory
inline constexpr int kWriteNoProfile = -4;    // the keyboard's current profile is unknown

struct KeyMapWriteTarget {
  device::CommandSet& commands;
  KeyMapView factory_map;     // the keyboard's factory key map (or the built-in one)
  std::uint32_t macro_space;  // bytes of macro memory the keyboard reported; 0 before that
  platform::MessageBoxes& boxes;
  const texts::TextTable& texts;
};

// Writes block k of the store to the keyboard's profile k: all three profiles, or only the
// keyboard's current one. Holds the WorkingStore lock for the whole operation (the caller may
// already hold it) and takes the DeviceStore lock inside it. Returns the result of the last key
// map written (1 success); kWriteNotSent or kWriteNoProfile when nothing was sent. When the
// current profile cannot be read nothing is sent: a guessed profile would overwrite another
// profile's keys.
int WriteKeyMaps(WorkingStore& working, DeviceStore& device_store, bool all_profiles,
                 const KeyMapWriteTarget& target);

// Copies the WorkingStore into the DeviceStore (table with a fresh settings-file header, macros,
// texts packed in record order with each record's parameter holding its text's offset).
// Returns false, leaving the DeviceStore empty, when memory runs out.
bool CommitToDeviceStore(WorkingStore& working, DeviceStore& device_store);

}  // namespace vendrel::keys
