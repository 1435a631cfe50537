#include "keys/key_store.h"

namespace vendrel::keys {

KeyStore::KeyStore() : table_(std::make_unique<ProfileKeyTable>()) {}

void KeyStore::Clear() {
  auto lock = Lock();
  strings.ClearAll();
  macros.clear();
  macros.shrink_to_fit();
  *table_ = ProfileKeyTable{};
}

}  // namespace vendrel::keys
