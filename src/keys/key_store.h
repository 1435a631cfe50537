#pragma once
// The two stores of key settings: the WorkingStore that the user edits and the DeviceStore that a
// write to the keyboard copies it into. Each holds the assignment table, the macro list and the
// record texts, guarded by its own re-entrant lock; every read or write of a store's content
// happens while holding its lock, and the locks are always taken WorkingStore first.
#include <cstdint>
#include <memory>
#include <mutex>

#include "keys/key_string_table.h"
#include "keys/profile_key_table.h"
#include "macros/macro_record.h"

namespace vendrel::keys {

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
  ProfileKeyTable& Table() { return *table_; }
  const ProfileKeyTable& Table() const { return *table_; }
  macros::MacroList macros;
  KeyStringTable strings;

  // Releases texts and macros and zeroes the table (header included).
  void Clear();

 private:
  mutable std::recursive_mutex mutex_;
  std::unique_ptr<ProfileKeyTable> table_;
};

// What the user edits and the keyboard view shows.
class WorkingStore : public KeyStore {};

// The copy committed from the WorkingStore at the start of a write; read only by that write.
class DeviceStore : public KeyStore {};

}  // namespace vendrel::keys
