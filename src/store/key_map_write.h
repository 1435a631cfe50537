#pragma once
// The write of macros and key maps to the keyboard ("download"): commit the WorkingStore into the
// DeviceStore, fit the macro image into the keyboard's macro space, encode the key maps, and send
// them in one bracketed transfer: the key maps whole, of the macro image the chunks the keyboard is
// not known to hold already. What the user is told about it is the caller's decision.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "device/command_set.h"
#include "keys/key_map_codec.h"
#include "macros/macro_space_fit.h"
#include "store/key_store.h"

namespace vendrel::store {

enum class KeyMapWrite : int {
  Sent = 1,        // the transfer was begun; last_map_result tells whether it ended whole
  NotSent = 0,     // the macros do not fit, a macro holds a key the keyboard cannot send, or
                   // memory ran out: fit says which
  NoProfile = -4,  // the keyboard's current profile is unknown
  Unreadable = -5,  // the macro space was unknown and the keyboard's information could not be read
};

struct KeyMapWriteOutcome {
  KeyMapWrite status = KeyMapWrite::NotSent;
  macros::FitResult fit = macros::FitResult::TooLarge;
  bool names_dropped = false;  // the image went without names to make the macros fit
  // Device result of the transfer, when sent: 1 when every packet, the bracket's included, was
  // acknowledged; otherwise the first failure, after which no data was sent.
  int last_map_result = 0;
  // When fit is UnsendableKey: the action refused and the name of the macro that holds it.
  macros::UnsendableAction unsendable;
  std::u16string unsendable_macro_name;

  // The keyboard acknowledged the whole transfer: its macros and key maps are the store's.
  bool Whole() const { return status == KeyMapWrite::Sent && last_map_result == 1; }

  // The integer the window logic reports: the transfer's result when sent, else the status.
  int DesignResult() const {
    return status == KeyMapWrite::Sent ? last_map_result : static_cast<int>(status);
  }
};

struct KeyMapWriteTarget {
  device::CommandSet& commands;
  keys::KeyMapView factory_map;  // the keyboard's factory key map (or the built-in one)
  // Bytes of macro memory the keyboard reported; none while no information read has succeeded,
  // and then the write reads the information block itself before fitting the macros.
  std::optional<std::uint32_t> macro_space;
};

// Writes block k of the store to the keyboard's profile k: all three profiles, or only the
// keyboard's current one. Holds the WorkingStore lock for the whole operation (the caller may
// already hold it) and takes the DeviceStore lock inside it. When the current profile cannot be
// read nothing is sent: a guessed profile would overwrite another profile's keys.
KeyMapWriteOutcome WriteKeyMaps(WorkingStore& working, DeviceStore& device_store, bool all_profiles,
                                const KeyMapWriteTarget& target);

// Copies the WorkingStore into the DeviceStore (table, macros, texts packed in record order with
// each record's parameter holding its text's offset, and a settings header for that content).
// Returns false, leaving the DeviceStore empty, when memory runs out.
bool CommitToDeviceStore(WorkingStore& working, DeviceStore& device_store);

// The ids of macros in list order, as the key map codec numbers them.
std::vector<std::uint16_t> MacroIds(std::span<const macros::MacroRecord> list);

}  // namespace vendrel::store
