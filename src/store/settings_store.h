#pragma once
// A store's content to and from settings file bytes: adapts the store to the settings file codec.
// The caller holds the store's lock.
#include <cstdint>
#include <span>
#include <vector>

#include "profiles/settings_file_codec.h"
#include "store/key_store.h"

namespace vendrel::store {

// The file of the store's content; the store is left as it is. Refused (out unchanged) when the
// store has more macros than a file holds or memory runs out.
profiles::SettingsCodecResult SerializeStore(const KeyStore& store, std::vector<std::uint8_t>& out);

// Fills the store (header, table, macros, texts) from a file's bytes. Refused leaves the store
// untouched: the header is not that of a settings file, the bytes end before the areas it names,
// or memory runs out.
profiles::SettingsCodecResult DeserializeStore(std::span<const std::uint8_t> bytes, KeyStore& store);

}  // namespace vendrel::store
