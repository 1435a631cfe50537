#pragma once
// The two stores of key settings: the WorkingStore that the user edits and the DeviceStore that a
// write to the keyboard copies it into. Each holds the assignment table, the macro list, the
// record texts and the header its settings file carries, guarded by its own re-entrant lock; every read or write of a store's content
// happens while holding its lock, and the locks are always taken WorkingStore first.
#include <cstdint>
#include <memory>
#include <mutex>

#include "keys/key_string_table.h"
#include "keys/profile_key_table.h"
#include "macros/macro_record.h"
#include "profiles/settings_file_format.h"

namespace vendrel::store {

class KeyStore {
 public:
  KeyStore();
  KeyStore(const KeyStore&) = delete;
  KeyStore& operator=(const KeyStore&) = delete;

  // Holds the store's lock for the lifetime of the returned object. Re-entrant on one thread.
  [[nodiscard]] std::unique_lock<std::recursive_mutex> Lock() const {
    return std::unique_lock<std::recursive_mutex>(mutex_);
  }
  std::recursive_mutex& Mutex() const { return mutex_; }

  // Content; touch only while holding Lock(). The table is heap-held (32 KiB) so that stores can
  // live on any stack; the macro count is macros.size().
  keys::ProfileKeyTable& Table() { return *table_; }
  const keys::ProfileKeyTable& Table() const { return *table_; }
  macros::MacroList macros;
  keys::KeyStringTable strings;
  // The header of the settings file the content came from (its descriptor is written back as read).
  profiles::SettingsHeader settings_header{};

  // Releases texts and macros and zeroes the table and the header.
  void Clear();

 private:
  mutable std::recursive_mutex mutex_;
  std::unique_ptr<keys::ProfileKeyTable> table_;
};

// How far the WorkingStore is known to stand on the keyboard's own settings.
enum class KeyboardBasis : int {
  Unknown,          // never read whole, or the last read failed: nothing built on it may be written
  Read,             // read whole from the keyboard; the user's edits may lie on top
  WriteUnfinished,  // a write of the store began and the keyboard did not acknowledge all of it
};

// What the user edits and the keyboard view shows.
class WorkingStore : public KeyStore {
 public:
  // Touch only while holding Lock(). Clear() leaves it alone: the caller decides what a new
  // content stands on.
  KeyboardBasis basis = KeyboardBasis::Unknown;
};

// The copy committed from the WorkingStore at the start of a write; read only by that write.
class DeviceStore : public KeyStore {};

}  // namespace vendrel::store
