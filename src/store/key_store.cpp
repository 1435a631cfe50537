#include "store/key_store.h"

namespace vendrel::store {

KeyStore::KeyStore() : table_(std::make_unique<keys::ProfileKeyTable>()) {}

void KeyStore::Clear() {
  auto lock = Lock();
  strings.ClearAll();
  macros.clear();
  macros.shrink_to_fit();
  *table_ = keys::ProfileKeyTable{};
  settings_header = {};
}

}  // namespace vendrel::store
