#pragma once
// Apply: the WorkingStore to the keyboard first, and to the cache file only after the keyboard
// acknowledged the whole write, so the cache holds what the keyboard holds or the state before.
// A write that did not end whole stays unfinished (in the store and beside the cache) until a
// later write goes through whole.
#include "store/key_map_write.h"
#include "store/key_store.h"
#include "store/settings_files.h"

namespace vendrel::store {

enum class SettingsApply : int {
  Written = 1,    // the keyboard acknowledged all of it and the cache file holds it
  NotCached = 2,  // the keyboard holds it; the cache file could not be saved
  NotSent = 0,    // nothing was sent because of the macros (space, memory): write tells why
  Failed = -1,    // the keyboard did not take it: nothing or part of it arrived; still pending
  Unknown = -2,   // the store does not stand on the keyboard's settings: nothing was sent
};

struct SettingsApplyOutcome {
  SettingsApply status = SettingsApply::NotSent;
  KeyMapWriteOutcome write;
  // With Failed: nothing was sent because the unfinished-write file could not be written (the
  // per-user folder is missing or cannot be written), so the write could not be made safe.
  bool unmarked = false;
};

// Holds the WorkingStore's lock throughout (the caller may already hold it). Nothing is sent
// unless the unfinished-write file holds the store first.
SettingsApplyOutcome ApplyToKeyboard(SettingsFiles& files, WorkingStore& working,
                                     DeviceStore& device_store, bool all_profiles,
                                     const KeyMapWriteTarget& target);

}  // namespace vendrel::store
